// Small aids for tests of the windows: clicks as a user makes them, and the message boxes on screen.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QByteArray>
#include <QList>
#include <QListWidget>
#include <QMessageBox>
#include <QTest>

namespace skyrel::test {

// The fixed tail of every Easy line, from its frequency fields to the line end.
inline const QByteArray kEasyTail = " UP000000000 UUU DN000000000 DDD\r\n";

inline void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

// The lists show one row: scroll the item into view and click it, as the user does.
inline void ClickListItem(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item, QAbstractItemView::PositionAtTop);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// The visible message boxes of that object name.
inline QList<QMessageBox*> VisibleBoxes(const QString& objectName) {
    QList<QMessageBox*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->objectName() == objectName && box->isVisible())
            boxes.append(box);
    return boxes;
}

// The one visible message box of that object name, or none.
inline QMessageBox* FindMessageBox(const QString& objectName) {
    const QList<QMessageBox*> boxes = VisibleBoxes(objectName);
    return boxes.isEmpty() ? nullptr : boxes.front();
}

}  // namespace skyrel::test

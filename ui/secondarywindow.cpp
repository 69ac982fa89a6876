#include "ui/secondarywindow.h"

#include <QCloseEvent>

#include "app/settings.h"
#include "ui/widgets.h"

namespace skyrel {

SecondaryWindow::SecondaryWindow(SettingsStore& store, int formNumber, const QString& caption, QSize clientSize,
                                 bool maximise)
    : QWidget(nullptr, FixedWindowFlags(maximise)), store_(store), formNumber_(formNumber) {
    setWindowTitle(caption);
    setFont(WindowFont());
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFixedSize(clientSize);
    const QPoint stored = LoadWindowPosition(store_, formNumber_);
    move(IsTitleBarReachable(stored, width()) ? stored : kDefaultWindowPosition);
}

void SecondaryWindow::closeEvent(QCloseEvent* event) {
    if (IsInNormalState(*this)) SaveWindowPosition(store_, formNumber_, pos());
    event->accept();
}

}  // namespace skyrel

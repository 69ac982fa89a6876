// Small widgets the windows share: a label that reports clicks, one that keeps its right edge fixed
// while its text grows to the left, and the program's fonts.
#pragma once

#include <QFont>
#include <QLabel>

namespace skyrel {

// Bold 8-point "MS Sans Serif" (Liberation Sans or Arial where it is missing), and a given size.
QFont WindowFont(int pointSize = 8, bool bold = true);
// Registers the substitutes for "MS Sans Serif"; called once before any window is made.
void InstallFontSubstitutes();

class ClickableLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();
    void doubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// A value label whose right edge stays at `rightEdge`; wider text grows to the left.
class RightAlignedLabel : public ClickableLabel {
    Q_OBJECT

public:
    RightAlignedLabel(QWidget* parent, int minimumLeft, int top, int rightEdge, int height);
    void setValueText(const QString& text);
    void setTextColour(const QColor& colour);
    QColor textColour() const;

private:
    int minimumLeft_;
    int rightEdge_;
};

}  // namespace skyrel

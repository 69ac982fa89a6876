#include "ui/widgets.h"

#include <QGuiApplication>
#include <QMouseEvent>

namespace skyrel {

QFont WindowFont(int pointSize, bool bold) {
    QFont font(QStringLiteral("MS Sans Serif"), pointSize);
    font.setBold(bold);
    return font;
}

void InstallFontSubstitutes() {
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit doubleClicked();
    QLabel::mouseDoubleClickEvent(event);
}

RightAlignedLabel::RightAlignedLabel(QWidget* parent, int minimumLeft, int top, int rightEdge, int height)
    : ClickableLabel(parent), minimumLeft_(minimumLeft), rightEdge_(rightEdge) {
    setAlignment(Qt::AlignRight | Qt::AlignTop);
    // A value changes every second: painting its own background spares repainting the panel behind it.
    setAutoFillBackground(true);
    setGeometry(minimumLeft, top, rightEdge - minimumLeft, height);
}

void RightAlignedLabel::setValueText(const QString& text) {
    if (text == this->text()) return;
    setText(text);
    // Measuring text is the costliest part of a second's refresh: a label out of sight is fitted when it
    // is shown.
    if (isVisible()) fitText();
    else fitPending_ = true;
}

void RightAlignedLabel::fitText() {
    fitPending_ = false;
    const int width = std::max(rightEdge_ - minimumLeft_, fontMetrics().horizontalAdvance(text()) + 2);
    setGeometry(rightEdge_ - width, y(), width, height());
}

void RightAlignedLabel::showEvent(QShowEvent* event) {
    if (fitPending_) fitText();
    ClickableLabel::showEvent(event);
}

Qt::WindowFlags FixedWindowFlags(bool maximise) {
    return Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
           Qt::MSWindowsFixedSizeDialogHint | (maximise ? Qt::WindowMinMaxButtonsHint : Qt::WindowMinimizeButtonHint);
}

QLabel* AddCaption(QWidget* parent, const QString& text, int left, int top, const char* name, int width) {
    auto* label = new QLabel(text, parent);
    if (name) label->setObjectName(QLatin1String(name));
    label->move(left, top);
    if (width > 0) label->setFixedWidth(width);
    else label->adjustSize();
    return label;
}

RightAlignedLabel* AddValue(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* label = new RightAlignedLabel(parent, left, top, left + width, height);
    label->setObjectName(QLatin1String(name));
    return label;
}

bool IsOnAScreen(QPoint topLeft) { return QGuiApplication::screenAt(topLeft + QPoint(1, 1)) != nullptr; }

bool IsInNormalState(const QWidget& window) {
    return !(window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

void SetTextColour(QWidget& widget, const QColor& colour) {
    // A new palette makes the widget and its children redraw: only a colour that changes is set.
    if (TextColour(widget) == colour) return;
    QPalette p = widget.palette();
    p.setColor(QPalette::WindowText, colour);
    widget.setPalette(p);
}

QColor TextColour(const QWidget& widget) { return widget.palette().color(QPalette::WindowText); }

QMessageBox* ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text, const QString& objectName) {
    auto* box = new QMessageBox(icon, QStringLiteral("Skyrel"), text, QMessageBox::Ok, parent);
    box->setObjectName(objectName);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
    return box;
}

}  // namespace skyrel

#include "ui/widgets.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRawFont>
#include <QScreen>
#include <algorithm>

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

LiveLabel::LiveLabel(QWidget* parent) : ClickableLabel(parent) {
    setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

const std::optional<LiveLabel::PlainGlyphs>& LiveLabel::plainGlyphs() const {
    if (glyphsValid_ && glyphsText_ == text()) return glyphs_;
    glyphsValid_ = true;
    glyphsText_ = text();
    glyphs_.reset();
    // The face the font chooses first: a character it lacks would be drawn from another face, which only
    // the text layout does.
    const QRawFont face = QRawFont::fromFont(font());
    if (!face.isValid()) return glyphs_;
    const QList<quint32> glyphs = face.glyphIndexesForString(glyphsText_);
    if (glyphs.size() != glyphsText_.size() || glyphs.contains(0)) return glyphs_;
    const QList<QPointF> advances = face.advancesForGlyphIndexes(glyphs);
    PlainGlyphs plain;
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    for (const QPointF& advance : advances) {
        positions.append(QPointF(plain.width, 0));
        plain.width += advance.x();
    }
    plain.run.setRawFont(face);
    plain.run.setGlyphIndexes(glyphs);
    plain.run.setPositions(positions);
    glyphs_ = plain;
    return glyphs_;
}

void LiveLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) glyphsValid_ = false;
    ClickableLabel::changeEvent(event);
}

void LiveLabel::setFixedGeometry(const QRect& geometry) {
    setFixedSize(geometry.size());
    move(geometry.topLeft());
}

int LiveLabel::textWidth() const {
    const std::optional<PlainGlyphs>& plain = plainGlyphs();
    return plain ? qRound(plain->width) : fontMetrics().horizontalAdvance(text());
}

void LiveLabel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().brush(backgroundRole()));
    const std::optional<PlainGlyphs>& plain = plainGlyphs();
    if (!plain || frameWidth() != 0 || margin() != 0) {
        painter.end();
        return ClickableLabel::paintEvent(event);
    }
    const QRectF room = contentsRect();
    const QFontMetricsF metrics(font());
    const qreal left = alignment() & Qt::AlignRight     ? room.right() - plain->width
                       : alignment() & Qt::AlignHCenter ? room.left() + (room.width() - plain->width) / 2
                                                        : room.left();
    const qreal top = alignment() & Qt::AlignVCenter ? room.top() + (room.height() - metrics.height()) / 2 : room.top();
    painter.setPen(palette().color(foregroundRole()));
    painter.drawGlyphRun(QPointF(left, top + metrics.ascent()), plain->run);
}

RightAlignedLabel::RightAlignedLabel(QWidget* parent, int minimumLeft, int top, int rightEdge, int height)
    : LiveLabel(parent), minimumLeft_(minimumLeft), rightEdge_(rightEdge) {
    setAlignment(Qt::AlignRight | Qt::AlignTop);
    setFixedGeometry(QRect(minimumLeft, top, rightEdge - minimumLeft, height));
}

void RightAlignedLabel::setValueText(const QString& text) {
    if (text == this->text()) return;
    setText(text);
    // A label out of sight is fitted when it is shown: the hidden windows' values cost nothing meanwhile.
    if (isVisible()) fitText();
    else fitPending_ = true;
}

void RightAlignedLabel::fitText() {
    fitPending_ = false;
    const int width = std::max(rightEdge_ - minimumLeft_, textWidth() + 2);
    setFixedGeometry(QRect(rightEdge_ - width, y(), width, height()));
}

void RightAlignedLabel::showEvent(QShowEvent* event) {
    if (fitPending_) fitText();
    ClickableLabel::showEvent(event);
}

QFont FittedLabel::shownFont() const {
    QFont fitted = font();
    const int room = contentsRect().width();
    for (int size = font().pointSize();
         size > kSmallestFittedPointSize && QFontMetrics(fitted).horizontalAdvance(text()) > room; --size)
        fitted.setPointSize(size - 1);
    return fitted;
}

void FittedLabel::paintEvent(QPaintEvent*) {
    const QFont shown = shownFont();
    const QRect room = contentsRect();
    QPainter painter(this);
    painter.setFont(shown);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(room, alignment(), QFontMetrics(shown).elidedText(text(), Qt::ElideRight, room.width()));
}

namespace {

// Watches the bar and its menus: a release inside a menu that ends the press which opened it from the
// bar is taken away from the menu.
class MenuBarClickGuard : public QObject {
public:
    explicit MenuBarClickGuard(QMenuBar& bar) : QObject(&bar) {
        bar.installEventFilter(this);
        for (QAction* action : bar.actions())
            if (QMenu* menu = action->menu()) menu->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool onBar = qobject_cast<QMenuBar*>(watched) != nullptr;
        if (event->type() == QEvent::MouseButtonPress) {
            pressOpenedFromBar_ = onBar && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        } else if (event->type() == QEvent::MouseButtonRelease && !onBar && pressOpenedFromBar_) {
            pressOpenedFromBar_ = false;
            const auto* menu = static_cast<QWidget*>(watched);
            return menu->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint());
        }
        return false;
    }

private:
    bool pressOpenedFromBar_ = false;
};

}  // namespace

void GuardMenuBarClicks(QMenuBar& bar) { new MenuBarClickGuard(bar); }

Qt::WindowFlags FixedWindowFlags(bool maximise) {
    return Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
           Qt::MSWindowsFixedSizeDialogHint | (maximise ? Qt::WindowMinMaxButtonsHint : Qt::WindowMinimizeButtonHint);
}

QLabel* AddCaption(QWidget* parent, const QString& text, int left, int top, const char* name, int width) {
    auto* label = new QLabel(text, parent);
    if (name) label->setObjectName(QLatin1String(name));
    label->move(left, top);
    label->adjustSize();
    if (width > 0) label->setFixedWidth(width);
    return label;
}

RightAlignedLabel* AddValue(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* label = new RightAlignedLabel(parent, left, top, left + width, height);
    label->setObjectName(QLatin1String(name));
    return label;
}

bool IsTitleBarReachable(QPoint topLeft, int width) {
    const QRect titleBar(topLeft, QSize(width, kTitleBarHeight));
    const int grip = std::min(kTitleBarGrip, width);
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect reachable = titleBar & screen->availableGeometry();
        if (reachable.width() >= grip && reachable.height() >= kTitleBarHeight / 2) return true;
    }
    return false;
}

void RestoreAndRaise(QWidget& window) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

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

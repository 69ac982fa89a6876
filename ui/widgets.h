// Small widgets the windows share: a label that reports clicks, one that keeps its right edge fixed
// while its text grows to the left, the program's fonts, window frames, text colours and message boxes.
#pragma once

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <optional>

namespace skyrel {

// A fixed-size window with a system menu and a minimise button; `maximise` adds the maximise button.
Qt::WindowFlags FixedWindowFlags(bool maximise = false);

// Whether a window `width` pixels wide whose frame's top-left corner stands at `topLeft` can be dragged by
// its title bar: a grip of the bar at least kTitleBarGrip pixels wide and half its height lies on one
// screen. A position stored while a monitor that is gone, or a larger one, was attached would otherwise
// open the window out of reach.
inline constexpr int kTitleBarHeight = 20;
inline constexpr int kTitleBarGrip = 48;
bool IsTitleBarReachable(QPoint topLeft, int width);

// Shows a window that may be hidden or minimised in its normal state, raised and active.
void RestoreAndRaise(QWidget& window);

// Neither minimised, maximised nor full screen: the only state in which a window stores its position.
bool IsInNormalState(const QWidget& window);

// The colour a widget's text is drawn in.
// The colour of a warning shown in place: a lost rotator port, a radio not reachable.
inline const QColor kWarningColour(192, 64, 0);
void SetTextColour(QWidget& widget, const QColor& colour);
QColor TextColour(const QWidget& widget);

// A message box captioned "Skyrel" with one OK button, deleted when closed. It blocks input to the windows
// without a nested event loop, so the one-second cycle keeps running while it is open.
QMessageBox* ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text, const QString& objectName);

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

// A label whose one-line plain text changes every second (the clock, the values). Its size is fixed, so
// a new text posts no layout request to its panel; it paints its whole area itself, background included, so
// a new text spares repainting the panel and any caption it overlaps behind it; and it draws the font's glyphs side by side by their advances instead of
// running the text layout a QLabel runs on each change, which is most of the cost of showing a running
// clock. A text the font's own face cannot show whole is drawn as QLabel draws it.
class LiveLabel : public ClickableLabel {
    Q_OBJECT

public:
    explicit LiveLabel(QWidget* parent);
    // Places the label and fixes its size.
    void setFixedGeometry(const QRect& geometry);
    // The width (pixels) the text takes in the label's font.
    int textWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Glyphs laid side by side by their advances, with no shaping: right for digits, signs and unit letters.
    struct PlainGlyphs {
        QGlyphRun run;
        qreal width = 0;  // pixels, the sum of the advances
    };
    // The present text's glyphs, laid out once per text and font (measured, then drawn); none when the
    // font's own face lacks a character of it.
    const std::optional<PlainGlyphs>& plainGlyphs() const;

    mutable std::optional<PlainGlyphs> glyphs_;
    mutable QString glyphsText_;
    mutable bool glyphsValid_ = false;
};

// A value label whose right edge stays at `rightEdge`; wider text grows to the left (fitted when the
// label is shown, if its text changed while it was out of sight).
class RightAlignedLabel : public LiveLabel {
    Q_OBJECT

public:
    RightAlignedLabel(QWidget* parent, int minimumLeft, int top, int rightEdge, int height);
    void setValueText(const QString& text);
    void setTextColour(const QColor& colour) { SetTextColour(*this, colour); }
    QColor textColour() const { return TextColour(*this); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fitText();

    int minimumLeft_;
    int rightEdge_;
    bool fitPending_ = false;
};

// Makes a press and release on `bar` only open its menu, never choose an item. The first item of a menu
// lies right below the bar: a click whose pointer trembles a few pixels down while the button is held
// would otherwise release on that item and choose it (on the main window's "Menu", "Exit"). Once the
// button is up, a click on an item chooses it as always. Covers the menus the bar holds when called.
void GuardMenuBarClicks(QMenuBar& bar);

// A caption at (left, top), as wide as its text unless `width` is given, named `name` when given. A caption
// whose text changes is given the width up to its value, so that each of its texts shows whole.
QLabel* AddCaption(QWidget* parent, const QString& text, int left, int top, const char* name = nullptr,
                   int width = -1);
// A value label named `name` whose right edge stands at left + width.
RightAlignedLabel* AddValue(QWidget* parent, const char* name, int left, int top, int width, int height);

// A label whose text is drawn in its own font or, where that is too wide for the label, in the largest
// smaller size that fits, so that a long observer name shows whole instead of cut at both ends. Below
// kSmallestFittedPointSize the text is cut at its end with an ellipsis.
class FittedLabel : public QLabel {
    Q_OBJECT

public:
    static constexpr int kSmallestFittedPointSize = 6;
    using QLabel::QLabel;
    // The font the present text is drawn in.
    QFont shownFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace skyrel

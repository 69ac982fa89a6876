// A window other than the main one: a top-level window of its own (own task-bar entry, not minimised
// with the main window), created hidden at start-up at its stored position (the default place when its
// title bar would be out of reach there), hidden rather than destroyed when closed, and storing its
// position only when the user closes it in its normal state. Its hints show whether or not it is the
// active window, as the main window's do.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

#include "app/settings/settingsstore.h"

namespace skyrel {

class SecondaryWindow : public QWidget {
    Q_OBJECT

public:
    // `clientSize`: the window's fixed size inside its frame; `maximise`: the frame has a maximise button too.
    SecondaryWindow(SettingsStore& store, int formNumber, const QString& caption, QSize clientSize,
                    bool maximise = false);

    // The timer of a window that refreshes itself each second; it runs only while the window is in sight.
    QTimer& refreshTimer() { return refreshTimer_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    SettingsStore& store() { return store_; }
    // Calls `refresh` once a second while the window is in sight, and at once each time it comes into sight.
    // Hidden or minimised, a window computes and draws nothing: with the main window's tick, its timer
    // would be a second wake-up a second of the idle program.
    void refreshEachSecondInSight(std::function<void()> refresh);

private:
    SettingsStore& store_;
    int formNumber_;
    QTimer refreshTimer_;
    std::function<void()> refresh_;
};

}  // namespace skyrel

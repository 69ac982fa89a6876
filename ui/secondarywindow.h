// A window other than the main one: a top-level window of its own (own task-bar entry, not minimised
// with the main window), created hidden at start-up at its stored position (the default place when its
// title bar would be out of reach there), hidden rather than destroyed when closed, and storing its
// position only when the user closes it in its normal state. Its hints show whether or not it is the
// active window, as the main window's do.
#pragma once

#include <QWidget>

#include "app/settingsstore.h"

namespace skyrel {

class SecondaryWindow : public QWidget {
    Q_OBJECT

public:
    // `clientSize`: the window's fixed size inside its frame; `maximise`: the frame has a maximise button too.
    SecondaryWindow(SettingsStore& store, int formNumber, const QString& caption, QSize clientSize,
                    bool maximise = false);

protected:
    void closeEvent(QCloseEvent* event) override;
    SettingsStore& store() { return store_; }

private:
    SettingsStore& store_;
    int formNumber_;
};

}  // namespace skyrel

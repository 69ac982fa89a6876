// A window other than the main one: a top-level window of its own (own task-bar entry, not minimised
// with the main window), created hidden at start-up at its stored position, hidden rather than destroyed
// when closed, and storing its position only when closed in its normal state.
#pragma once

#include <QWidget>

#include "app/settingsstore.h"

namespace skyrel {

class SecondaryWindow : public QWidget {
    Q_OBJECT

public:
    // `maximise`: the window's frame has a maximise button too.
    SecondaryWindow(SettingsStore& store, int formNumber, const QString& caption, bool maximise = false);

protected:
    void closeEvent(QCloseEvent* event) override;
    SettingsStore& store() { return store_; }

private:
    SettingsStore& store_;
    int formNumber_;
};

}  // namespace skyrel

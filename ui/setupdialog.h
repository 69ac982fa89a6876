// The setup dialog: edits and saves every option.
#pragma once

#include "app/appstate.h"
#include "ui/secondarywindow.h"

namespace skyrel {

class TSMForm2 : public SecondaryWindow {
    Q_OBJECT

public:
    TSMForm2(AppState& state, SettingsStore& store);

private:
    AppState& state_;
};

}  // namespace skyrel

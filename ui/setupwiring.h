// What the setup dialog's Save and Cancel set off in the other windows: the main window's site, cycle
// and rotator port, and the map.
#pragma once

#include "ui/mainwindow.h"
#include "ui/mapwindow.h"
#include "ui/setupdialog.h"

namespace skyrel {

void ConnectSetupDialog(TSMForm2& setup, TSMForm1& main, TSMForm3& map);

}  // namespace skyrel

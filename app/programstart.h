// The start-up steps the desktop program and the headless station share, in their order.
#pragma once

#include "app/singleinstance.h"

namespace skyrel {

// Before any application object: true when this process is now the one running copy. A second copy
// has asked the running one to come back (a desktop copy raises its window) and ends with status 0.
bool TakeSingleInstanceLock(SingleInstance& instance);

// Right after the application object is made and the termination signals are caught (from here on a
// second copy can find this one, and whoever finds it may signal it): the names that place the settings file, '.' as the
// decimal point whatever the user's regional settings (the rotator must always see it), and the
// answering of a second copy's requests.
void PrepareApplication(SingleInstance& instance);

}  // namespace skyrel

// The records shared by the windows for the whole run: the options, the engine's state, the EME
// figures and the display choice UTC/local. The main window owns the one instance.
#pragma once

#include "app/settings/settings.h"
#include "app/station/trackingstate.h"
#include "navlib/eme.h"
#include "navlib/skystate.h"

namespace skyrel {

struct AppState {
    Settings settings;
    nav::SkyState sky;
    nav::EmeFigures eme;
    bool showUtc = true;  // the main window starts in UTC; not stored
    TrackingState tracking;
};

}  // namespace skyrel

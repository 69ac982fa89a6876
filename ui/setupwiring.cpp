#include "ui/setupwiring.h"

namespace skyrel {

void ConnectSetupDialog(TSMForm2& setup, TSMForm1& main, TSMForm3& map) {
    SetupHooks hooks;
    hooks.applySite = [&main] { main.ApplySite(); };
    hooks.stopTimer = [&main] { main.Timer1().stop(); };
    hooks.startTimer = [&main] { main.Timer1().start(); };
    hooks.openPortIfTracking = [&main] { main.station().tracker().UseSerialOutput(); };
    hooks.closePort = [&main] { main.station().tracker().UseEndpointOutput(); };
    hooks.redrawMapIfVisible = [&map] {
        if (map.isVisible()) map.RenderMap();
    };
    setup.setHooks(std::move(hooks));
}

}  // namespace skyrel

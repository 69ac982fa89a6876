// The map window: a world map, a star chart or a sky-noise chart under the overlay the renderer draws.
#pragma once

#include "app/appstate.h"
#include "ui/secondarywindow.h"

namespace skyrel {

enum class MapView { Earth, Celestial, SkyNoise };

class TSMForm3 : public SecondaryWindow {
    Q_OBJECT

public:
    TSMForm3(AppState& state, SettingsStore& store);

    void RenderMap();
    MapView mapView() const { return mapView_; }

private:
    AppState& state_;
    MapView mapView_ = MapView::Earth;
};

}  // namespace skyrel

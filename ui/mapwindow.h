// The map window: a world map, a star chart or a sky-noise chart under the overlay the renderer draws.
#pragma once

#include <QImage>

#include "app/station/appstate.h"
#include "ui/maprenderer.h"
#include "ui/secondarywindow.h"
#include "ui/widgets.h"

namespace skyrel {

class TSMForm3 : public SecondaryWindow {
    Q_OBJECT

public:
    TSMForm3(AppState& state, SettingsStore& store);

    // Draws the overlay for the present view and shows the view's base picture.
    void RenderMap();
    MapView mapView() const { return mapView_; }

    // Window height with frame and caption bar; the client area is kFrameHeight less.
    void SetOuterHeight(int height);
    int OuterHeight() const { return outerHeight_; }

    // The overlay as drawn, white where the base picture shows through.
    const QImage& overlay() const { return overlay_; }

    // Layers, bottom to top: world map, sky-noise chart, celestial grid, overlay.
    QLabel* Image1;
    QLabel* Image4;
    QLabel* Image2;
    ClickableLabel* Image3;

    void Image3DblClick();

private:
    void showOverlay();

    AppState& state_;
    MapView mapView_ = MapView::Earth;
    int outerHeight_ = 0;
    QImage worldMap_;
    QImage overlay_;
};

}  // namespace skyrel

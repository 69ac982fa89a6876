#include "ui/mapwindow.h"

#include <QPainter>
#include <QPixmap>

namespace skyrel {
namespace {

constexpr int kFormNumber = 3;
constexpr int kClientWidth = 515;
// The outer heights count the frame and the caption bar of the classic window (as the main window does):
// at 290 the client area is 264 rows, the whole grid picture with its hour labels; at 280 it is 254 rows,
// the top of the 260-row world map and sky-noise chart (the cut-off rows lie beyond 86 degrees south on
// the world map and beyond 43 degrees south on the sky charts).
constexpr int kFrameHeight = 26;
constexpr int kEarthHeight = 280;
constexpr int kSkyHeight = 290;
constexpr int kOverlayHeight = 264;

const QString kHint = QStringLiteral(" Double click to switch between earth, celestial, and sky noise views. ");

QLabel* PictureLayer(QWidget* parent, const QString& name, const QPixmap& picture, int height) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(0, 0, kMapWidth, height);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setPixmap(picture);
    return label;
}

}  // namespace

TSMForm3::TSMForm3(AppState& state, SettingsStore& store)
    : SecondaryWindow(store, kFormNumber,
                      QStringLiteral("  MAP") + QString(34, QLatin1Char(' ')) + QStringLiteral("Skyrel / Brenlo"),
                      QSize(kClientWidth, kEarthHeight - kFrameHeight)),
      state_(state),
      worldMap_(QImage(QStringLiteral(":/worldmap.bmp")).convertToFormat(QImage::Format_RGB32)) {
    setObjectName(QStringLiteral("SMForm3"));

    Image1 = PictureLayer(this, QStringLiteral("Image1"), QPixmap::fromImage(worldMap_), kMapHeight);
    Image4 = PictureLayer(this, QStringLiteral("Image4"), QPixmap(QStringLiteral(":/skynoise.jpg")), kMapHeight);
    Image2 = PictureLayer(this, QStringLiteral("Image2"), QPixmap(QStringLiteral(":/celestialgrid.jpg")),
                          kOverlayHeight);
    Image4->hide();
    Image2->hide();

    Image3 = new ClickableLabel(this);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setGeometry(0, 0, kMapWidth, kOverlayHeight);
    Image3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image3->setToolTip(kHint);
    connect(Image3, &ClickableLabel::doubleClicked, this, &TSMForm3::Image3DblClick);
    overlay_ = QImage(kMapWidth, kOverlayHeight, QImage::Format_RGB32);
    overlay_.fill(Qt::white);
    showOverlay();

    SetOuterHeight(kEarthHeight);
}

void TSMForm3::SetOuterHeight(int height) {
    outerHeight_ = height;
    setFixedSize(kClientWidth, height - kFrameHeight);
}

void TSMForm3::Image3DblClick() {
    mapView_ = mapView_ == MapView::Earth       ? MapView::Celestial
               : mapView_ == MapView::Celestial ? MapView::SkyNoise
                                                : MapView::Earth;
    SetOuterHeight(mapView_ == MapView::Earth ? kEarthHeight : kSkyHeight);
    RenderMap();
}

void TSMForm3::RenderMap() {
    const QImage drawing = DrawMap(state_.sky, state_.settings, mapView_, worldMap_);
    Image1->setVisible(mapView_ == MapView::Earth);
    Image2->setVisible(mapView_ == MapView::Celestial);
    Image4->setVisible(mapView_ == MapView::SkyNoise);
    if (mapView_ == MapView::SkyNoise) SetOuterHeight(kEarthHeight);
    {
        QPainter painter(&overlay_);
        painter.drawImage(0, 0, drawing);
    }
    showOverlay();
}

// Pure white is transparent: every other colour covers the picture below.
void TSMForm3::showOverlay() {
    QImage shown = overlay_.convertToFormat(QImage::Format_ARGB32);
    for (int r = 0; r < shown.height(); ++r) {
        auto* line = reinterpret_cast<QRgb*>(shown.scanLine(r));
        for (int c = 0; c < shown.width(); ++c)
            if (line[c] == qRgb(255, 255, 255)) line[c] = qRgba(0, 0, 0, 0);
    }
    Image3->setPixmap(QPixmap::fromImage(shown));
}

}  // namespace skyrel

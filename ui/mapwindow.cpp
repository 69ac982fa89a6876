#include "ui/mapwindow.h"

namespace skyrel {
namespace {
constexpr int kFormNumber = 3;
}

TSMForm3::TSMForm3(AppState& state, SettingsStore& store)
    : SecondaryWindow(store, kFormNumber,
                      QStringLiteral("  MAP") + QString(34, QLatin1Char(' ')) + QStringLiteral("Skyrel / Brenlo")),
      state_(state) {
    setObjectName(QStringLiteral("SMForm3"));
    setFixedSize(515, 264);
}

void TSMForm3::RenderMap() { update(); }

}  // namespace skyrel

#include "ui/setupdialog.h"

namespace skyrel {
namespace {
constexpr int kFormNumber = 2;
}

TSMForm2::TSMForm2(AppState& state, SettingsStore& store)
    : SecondaryWindow(store, kFormNumber, QStringLiteral(" Setup  Skyrel / Brenlo")), state_(state) {
    setObjectName(QStringLiteral("SMForm2"));
    setFixedSize(532, 395);
}

}  // namespace skyrel

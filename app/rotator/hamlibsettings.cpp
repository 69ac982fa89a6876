#include "app/rotator/hamlibsettings.h"

#include "app/settings/numbertext.h"
#include "app/settings/settings.h"

namespace skyrel {
namespace {

const QString kEnabledName = QStringLiteral("Enabled");
const QString kModelName = QStringLiteral("Model");
const QString kDeviceName = QStringLiteral("Device");
const QString kSpeedName = QStringLiteral("Speed");

int WholeNumberOr(const QString& text, int defaultValue) {
    if (text.isEmpty()) return defaultValue;
    return ParseInteger(text).value_or(0);
}

}  // namespace

HamlibSettings LoadHamlibSettings(const SettingsStore& store) {
    HamlibSettings settings;
    settings.enabled = store.read(kHamlibGroup, kEnabledName) == QLatin1String("True");
    settings.model = WholeNumberOr(store.read(kHamlibGroup, kModelName), settings.model);
    settings.device = OrDefault(store.read(kHamlibGroup, kDeviceName), settings.device);
    settings.speed = WholeNumberOr(store.read(kHamlibGroup, kSpeedName), settings.speed);
    return settings;
}

bool SaveHamlibSettings(SettingsStore& store, const HamlibSettings& settings) {
    store.write(kHamlibGroup, kEnabledName, settings.enabled ? QStringLiteral("True") : QStringLiteral("False"));
    store.write(kHamlibGroup, kModelName, QString::number(settings.model));
    store.write(kHamlibGroup, kDeviceName, settings.device);
    store.write(kHamlibGroup, kSpeedName, QString::number(settings.speed));
    return store.sync();
}

}  // namespace skyrel

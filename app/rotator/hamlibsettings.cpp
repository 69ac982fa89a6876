#include "app/rotator/hamlibsettings.h"

#include "app/settings/numbertext.h"
#include "app/settings/settings.h"

namespace skyrel {
namespace {

const QString kEnabledName = QStringLiteral("Enabled");
const QString kModelName = QStringLiteral("Model");
const QString kDeviceName = QStringLiteral("Device");
const QString kSpeedName = QStringLiteral("Speed");
const QString kStepName = QStringLiteral("Step");
const QString kMoveSecondsName = QStringLiteral("Move Seconds");
const QString kMinAzimuthName = QStringLiteral("Min Az");
const QString kMaxAzimuthName = QStringLiteral("Max Az");
const QString kMinElevationName = QStringLiteral("Min El");
const QString kMaxElevationName = QStringLiteral("Max El");
const QString kWaitAtRiseName = QStringLiteral("Wait At Rise");
const QString kStepSerialLinesName = QStringLiteral("Step Serial Lines");

constexpr int kLastSecond = 59;
// Hamlib numbers its models backend * 100 + index; the GS-232 backend is 6.
constexpr int kModelsPerBackend = 100;
constexpr int kGs232Backend = 6;

int WholeNumberOr(const QString& text, int defaultValue) {
    if (text.isEmpty()) return defaultValue;
    return ParseInteger(text).value_or(0);
}

std::optional<double> OptionalReal(const QString& text) {
    return text.trimmed().isEmpty() ? std::nullopt : ParseReal(text);
}

QString OptionalRealText(std::optional<double> value) { return value ? QString::number(*value) : QString(); }

std::optional<int> SecondOfMinute(const QString& text) {
    const std::optional<int> second = ParseInteger(text);
    if (!second || *second < 0 || *second > kLastSecond) return std::nullopt;
    return second;
}

}  // namespace

std::optional<SecondRange> ParseMoveSeconds(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('-'));
    if (text.trimmed().isEmpty() || parts.size() > 2) return std::nullopt;
    const std::optional<int> first = SecondOfMinute(parts.front());
    const std::optional<int> last = SecondOfMinute(parts.back());
    if (!first || !last) return std::nullopt;
    return SecondRange{*first, *last};
}

bool MayMoveAt(const QString& moveSeconds, int second) {
    const std::optional<SecondRange> range = ParseMoveSeconds(moveSeconds);
    if (!range) return true;
    if (range->first <= range->last) return second >= range->first && second <= range->last;
    return second >= range->first || second <= range->last;
}

bool FoldsNegativeAzimuth(int model) { return model / kModelsPerBackend == kGs232Backend; }

HamlibSettings LoadHamlibSettings(const SettingsStore& store) {
    HamlibSettings settings;
    settings.enabled = SwitchOfText(store.read(kHamlibGroup, kEnabledName), false);
    settings.model = WholeNumberOr(store.read(kHamlibGroup, kModelName), settings.model);
    settings.device = OrDefault(store.read(kHamlibGroup, kDeviceName), settings.device);
    settings.speed = WholeNumberOr(store.read(kHamlibGroup, kSpeedName), settings.speed);
    settings.step = OptionalReal(store.read(kHamlibGroup, kStepName)).value_or(settings.step);
    settings.moveSeconds = store.read(kHamlibGroup, kMoveSecondsName).trimmed();
    settings.minAzimuth = OptionalReal(store.read(kHamlibGroup, kMinAzimuthName));
    settings.maxAzimuth = OptionalReal(store.read(kHamlibGroup, kMaxAzimuthName));
    settings.minElevation = OptionalReal(store.read(kHamlibGroup, kMinElevationName));
    settings.maxElevation = OptionalReal(store.read(kHamlibGroup, kMaxElevationName));
    settings.waitAtRise = SwitchOfText(store.read(kHamlibGroup, kWaitAtRiseName), true);
    settings.stepSerialLines = SwitchOfText(store.read(kHamlibGroup, kStepSerialLinesName), false);
    return settings;
}

bool SaveHamlibSettings(SettingsStore& store, const HamlibSettings& settings) {
    store.write(kHamlibGroup, kEnabledName, SwitchText(settings.enabled));
    store.write(kHamlibGroup, kModelName, QString::number(settings.model));
    store.write(kHamlibGroup, kDeviceName, settings.device);
    store.write(kHamlibGroup, kSpeedName, QString::number(settings.speed));
    store.write(kHamlibGroup, kStepName, QString::number(settings.step));
    store.write(kHamlibGroup, kMoveSecondsName, settings.moveSeconds);
    store.write(kHamlibGroup, kMinAzimuthName, OptionalRealText(settings.minAzimuth));
    store.write(kHamlibGroup, kMaxAzimuthName, OptionalRealText(settings.maxAzimuth));
    store.write(kHamlibGroup, kMinElevationName, OptionalRealText(settings.minElevation));
    store.write(kHamlibGroup, kMaxElevationName, OptionalRealText(settings.maxElevation));
    store.write(kHamlibGroup, kWaitAtRiseName, SwitchText(settings.waitAtRise));
    store.write(kHamlibGroup, kStepSerialLinesName, SwitchText(settings.stepSerialLines));
    return store.sync();
}

}  // namespace skyrel

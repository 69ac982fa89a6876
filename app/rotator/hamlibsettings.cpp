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

const QString kRotatorOwnLimit = QStringLiteral("the rotator's own");

// A limit left empty is the rotator's own; one that fails is the rotator's own too, named in the message.
std::optional<double> ReadLimit(OptionReader& reader, const QString& name) {
    const QString stored = reader.text(name, QString()).trimmed();
    if (stored.isEmpty()) return std::nullopt;
    if (const auto refusal = RangeRefusal(stored, kRotatorLimitRange)) {
        reader.refuse(name, *refusal, kRotatorOwnLimit);
        return std::nullopt;
    }
    return ParseReal(stored);
}

// A text no range of seconds reads as would let the rotator move at any second without a word.
QString ReadMoveSeconds(OptionReader& reader) {
    const QString stored = reader.text(kMoveSecondsName, QString()).trimmed();
    if (stored.isEmpty() || ParseMoveSeconds(stored)) return stored;
    reader.refuse(kMoveSecondsName,
                  QStringLiteral("%1 is no second of the minute (0 to 59) nor a range of them like 50-59")
                      .arg(QuotedValue(stored)),
                  QStringLiteral("any second"));
    return {};
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

void ReadHamlibDeviceSettings(OptionReader& reader, HamlibDeviceSettings& link) {
    link.enabled = reader.onOff(kEnabledName, link.enabled);
    link.model = reader.integer(kModelName, QString::number(link.model));
    link.device = reader.text(kDeviceName, link.device).trimmed();
    link.speed = reader.integer(kSpeedName, QString::number(link.speed), kSerialSpeedRange);
}

void WriteHamlibDeviceSettings(SettingsStore& store, const QString& group, const HamlibDeviceSettings& link) {
    store.write(group, kEnabledName, SwitchText(link.enabled));
    store.write(group, kModelName, QString::number(link.model));
    store.write(group, kDeviceName, link.device);
    store.write(group, kSpeedName, QString::number(link.speed));
}

HamlibSettings ReadHamlibSettings(OptionReader& reader) {
    HamlibSettings s;
    ReadHamlibDeviceSettings(reader, s);
    s.step = reader.real(kStepName, QString::number(s.step), kRotatorStepRange);
    s.moveSeconds = ReadMoveSeconds(reader);
    s.minAzimuth = ReadLimit(reader, kMinAzimuthName);
    s.maxAzimuth = ReadLimit(reader, kMaxAzimuthName);
    s.minElevation = ReadLimit(reader, kMinElevationName);
    s.maxElevation = ReadLimit(reader, kMaxElevationName);
    s.waitAtRise = reader.onOff(kWaitAtRiseName, s.waitAtRise);
    s.stepSerialLines = reader.onOff(kStepSerialLinesName, s.stepSerialLines);
    return s;
}

HamlibSettings LoadHamlibSettings(const SettingsStore& store) {
    OptionReader reader(store, kHamlibGroup);
    return ReadHamlibSettings(reader);
}

bool SaveHamlibSettings(SettingsStore& store, const HamlibSettings& settings) {
    WriteHamlibDeviceSettings(store, kHamlibGroup, settings);
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

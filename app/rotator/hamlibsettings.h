// The Hamlib rotator's options: stored as text in their own group, apart from every other option, so
// that a settings file of a program without Hamlib output means what it always meant.
#pragma once

#include <QString>
#include <optional>

#include "app/settings/settings.h"
#include "app/settings/settingsstore.h"

namespace skyrel {

inline const QString kHamlibGroup = QStringLiteral("Hamlib");

// Hamlib's own model numbers of the two models every installation has.
inline constexpr int kHamlibDummyModel = 1;
inline constexpr int kHamlibNetworkModel = 2;

// How far the target moves before a new command; half a turn already leaves the rotator standing between
// commands.
inline constexpr NumberRange kRotatorStepRange{"the step", 0, 180, "degrees"};
// The farthest a rotator's range reaches either way: one and a half turns.
inline constexpr NumberRange kRotatorLimitRange{"the limit", -540, 540, "degrees"};

// How a Hamlib device is reached, alike for the rotator and the radio: the keys "Enabled", "Model",
// "Device" and "Speed" of their groups.
struct HamlibDeviceSettings {
    bool enabled = false;             // the station drives this device
    int model = kHamlibNetworkModel;  // Hamlib's model number; 2 is the network daemon of either kind
    QString device;                   // a device path, or host:port for the network model
    int speed = 9600;                 // baud on a serial line; 0 leaves the model's own speed

    bool operator==(const HamlibDeviceSettings&) const = default;
};

// Reads the four keys of `reader`'s group, each holding the value in `link` as its default.
void ReadHamlibDeviceSettings(OptionReader& reader, HamlibDeviceSettings& link);
// Writes the four keys into `group`.
void WriteHamlibDeviceSettings(SettingsStore& store, const QString& group, const HamlibDeviceSettings& link);

// The rotator (enabled: the pointing goes to it instead of the serial line) and how it moves.
struct HamlibSettings : HamlibDeviceSettings {
    HamlibSettings() { device = QStringLiteral("localhost:4533"); }

    // A new position is commanded only when it differs from the last command by this much (degrees) on
    // either axis, or when the rotator stopped short of it; 0 commands every second.
    double step = 0.1;
    // The seconds of each minute in which the antenna may be commanded, "50-59"; empty: any second.
    QString moveSeconds;
    // The range the user allows (degrees); none: what the open rotator reports (see UserLimits).
    std::optional<double> minAzimuth, maxAzimuth, minElevation, maxElevation;
    // Below the horizon the antenna waits at the azimuth where the target will rise.
    bool waitAtRise = true;
    // The serial text lines keep to the step as well instead of going out every second.
    bool stepSerialLines = false;

    bool operator==(const HamlibSettings&) const = default;
};

// The seconds of a minute, first to last; a range with first > last runs across the full minute.
struct SecondRange {
    int first = 0, last = 59;
};

// "50-59" or a single second "30", each 0..59 with blanks allowed around the numbers; none for an empty
// text (any second) and for anything else.
std::optional<SecondRange> ParseMoveSeconds(const QString& text);
// Whether second `second` (0..59) of a minute lies in the range of `moveSeconds`; every second does when
// it is empty or no range.
bool MayMoveAt(const QString& moveSeconds, int second);

// "Enabled", "Model", "Device", "Speed", "Step", "Move Seconds", "Min Az", "Max Az", "Min El", "Max El",
// "Wait At Rise" and "Step Serial Lines" of the group. A missing or empty value keeps its default (an
// empty limit is the rotator's own); a value that fails gets its default and a line in `reader`'s message.
HamlibSettings ReadHamlibSettings(OptionReader& reader);
// The same with a reader of its own; the message is dropped (for a dialog re-reading what it saved).
HamlibSettings LoadHamlibSettings(const SettingsStore& store);

// Writes the values as text (a limit left to the rotator as an empty text) and puts the store on disk;
// false when that failed.
bool SaveHamlibSettings(SettingsStore& store, const HamlibSettings& settings);

// Hamlib's GS-232 drivers (models 601 to 614) add 360 to a negative azimuth before sending it, so the
// range below 0 their capabilities claim reaches the controller as the far end of the circle.
bool FoldsNegativeAzimuth(int model);

}  // namespace skyrel

// The radio's options: the Hamlib radio the Doppler correction drives, the convention it follows, the sky
// frequencies the operator wants and the converters between the antenna and the radio. Stored as text in
// their own group, like the Hamlib rotator's.
#pragma once

#include <QString>
#include <array>
#include <optional>

#include "app/rotator/hamlibsettings.h"
#include "app/settings/settings.h"
#include "app/settings/settingsstore.h"
#include "navlib/radiodoppler.h"

namespace skyrel {

inline const QString kRadioGroup = QStringLiteral("Radio");

// Hamlib takes frequencies as doubles in Hz; these bound what any radio or converter of the EME bands
// can mean, so a typing slip never reaches a radio as a frequency it would take.
inline constexpr NumberRange kRadioSkyRange{"the sky frequency", 1e6, 3e11, "Hz"};
inline constexpr NumberRange kRadioLoRange{"the LO frequency", -3e11, 3e11, "Hz"};
inline constexpr NumberRange kRadioStepRange{"the step", 1, 1e6, "Hz"};

// The sky frequencies (Hz) the band presets offer, one in each EME band of nav::kEmeBandsMHz.
inline constexpr std::array<double, 5> kRadioBandPresetsHz = {144.12e6, 432.05e6, 1296.05e6, 2304.1e6, 10368.1e6};

// How the transmit frequency reaches the radio.
enum class RadioSplit {
    Rig,   // on the radio's other VFO through Hamlib's split calls, split turned on once at the open
    None,  // not at all: the radio only receives under control, the transmit correction is shown
};

// The radio (the device settings of its own group) and how it is tuned.
struct RadioSettings : HamlibDeviceSettings {
    RadioSettings() { device = QStringLiteral("localhost:4532"); }

    nav::RadioMode mode = nav::RadioMode::OwnEcho;      // the convention followed once enabled
    double rxSky = 1296.1e6;                            // Hz: the sky frequencies the operator wants
    double txSky = 1296.1e6;
    nav::Converter rx, tx;                              // "Rx LO"/"Rx Invert", "Tx LO"/"Tx Invert"
    double step = 10;                                   // Hz: the dial's resolution; a set only when it moves a step
    RadioSplit split = RadioSplit::Rig;

    bool operator==(const RadioSettings&) const;
};

// "Off", "Own Echo", "Constant On Moon", "Full To DX", "On DX Echo", "Call DX", and back; any other text
// names no mode.
QString RadioModeText(nav::RadioMode mode);
std::optional<nav::RadioMode> RadioModeOfText(const QString& text);

// The command line's words for the modes: "off", "echo", "moon", "dx", "dx-echo", "call-dx"; and back.
QString RadioModeWord(nav::RadioMode mode);
std::optional<nav::RadioMode> RadioModeOfWord(const QString& word);
// "off, echo, moon, dx, dx-echo or call-dx", as a refusal lists them.
QString RadioModeWords();

// "Enabled", "Model", "Device", "Speed", "Mode", "Rx Sky", "Tx Sky", "Rx LO", "Tx LO", "Rx Invert",
// "Tx Invert", "Step" and "Split" ("Rig" or "None") of the group. A missing or empty value keeps its
// default; a value that fails gets its default and a line in `reader`'s message.
RadioSettings ReadRadioSettings(OptionReader& reader);
// The same with a reader of its own; the message is dropped (for a dialog re-reading what it saved).
RadioSettings LoadRadioSettings(const SettingsStore& store);
// Writes every value as text and puts the store on disk; false when that failed.
bool SaveRadioSettings(SettingsStore& store, const RadioSettings& settings);

}  // namespace skyrel

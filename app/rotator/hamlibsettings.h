// The Hamlib rotator's options: stored as text in their own group, apart from every other option, so
// that a settings file of a program without Hamlib output means what it always meant.
#pragma once

#include <QString>

#include "app/settings/settingsstore.h"

namespace skyrel {

inline const QString kHamlibGroup = QStringLiteral("Hamlib");

// Hamlib's own model numbers of the two models every installation has.
inline constexpr int kHamlibDummyModel = 1;
inline constexpr int kHamlibNetworkModel = 2;

struct HamlibSettings {
    bool enabled = false;               // the pointing goes to this rotator instead of the serial line
    int model = kHamlibNetworkModel;    // Hamlib's rotator model number; 0 when the stored text is no number
    QString device = QStringLiteral("localhost:4533");  // a device path, or host:port for the network model
    int speed = 9600;                   // baud on a serial line; 0 leaves the model's own speed

    bool operator==(const HamlibSettings&) const = default;
};

// "Enabled" ("True" turns it on; anything else leaves it off), "Model", "Device" and "Speed" of the group.
// A missing or empty value keeps its default; a model or speed that is no whole number reads as 0.
HamlibSettings LoadHamlibSettings(const SettingsStore& store);

// Writes the four values as text and puts the store on disk; false when that failed.
bool SaveHamlibSettings(SettingsStore& store, const HamlibSettings& settings);

}  // namespace skyrel

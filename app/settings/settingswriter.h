// Writing the options back from the setup dialog. Every number box is checked before anything is
// written or applied, so a bad text can neither break the next start nor leave half a save behind.
#pragma once

#include <QString>
#include <array>
#include <functional>
#include <optional>

#include "app/settings/settings.h"
#include "app/settings/settingsstore.h"
#include "app/station/trackingstate.h"
#include "navlib/clocksource.h"

namespace skyrel {

// The setup dialog's boxes and choices as the user left them: texts as typed, list indexes as selected.
struct SetupForm {
    bool sunShadow = false, moonShadow = false;
    bool sunHorizon = false, moonHorizon = false;
    bool sunSubPoint = false, moonSubPoint = false;
    bool autoTime = true;
    QString clockOffset;  // hours; used only when autoTime is false
    QString latitude, longitude, height, name;
    int portIndex = 1;  // 0 = output on the local endpoint, 1..12 = serial port n
    int baudIndex = 0;  // 1200 x 2^index baud
    QString parkAz, parkEl;
    std::array<QString, 4> offsetAz, offsetEl;  // 0 static, 1 L feed, 2 S feed, 3 X feed
    Feed activeFeed = Feed::L;                  // the ticked "Active" box, None when no box is ticked
    QString outputFormat = kDefaultOutputFormat;
};

// The number boxes, in the order they are checked; from ParkAz on, the order of kPointingOptions.
enum class SetupField {
    ClockOffset,
    Latitude,
    Longitude,
    Height,
    ParkAz,
    ParkEl,
    LOffsetAz,
    LOffsetEl,
    SOffsetAz,
    SOffsetEl,
    XOffsetAz,
    XOffsetEl,
    StaticOffsetAz,
    StaticOffsetEl,
};

struct SetupFormError {
    SetupField field;
    QString message;  // "'%s' is not a valid floating point value" with the box's text, or the allowed range
};

// What a save does to the rest of the running program, each at its moment in the save. Unset ones do
// nothing.
struct SaveActions {
    std::function<void()> beforeWriting;       // every box holds a number; nothing is written yet
    std::function<void()> applySite;           // the site and the name are in Settings
    std::function<void()> openPortIfTracking;  // a serial port was chosen; its number and speed are in Settings
    std::function<void()> closePort;           // output on the local endpoint was chosen
    std::function<void()> storeFailed;         // the options are in effect but could not be put on disk
};

// The first number box whose text is not a number, or a clock offset or site value outside its range
// (kClockOffsetRange, kLatitudeRange, kLongitudeRange, kHeightRange).
// Empty latitude, longitude and height boxes stand for their defaults; an empty park, offset or
// clock-offset box is refused; the clock offset counts only when the clock is set by hand.
std::optional<SetupFormError> CheckSetupForm(const SetupForm& form);

// Checks the form first and, if a box fails, returns that failure having written and applied nothing.
// Otherwise writes the options group from the form in its fixed order, updating `settings` (and
// `tracking.ddeOutput`) as it goes, puts the store on disk, and then switches the rotator port: the new
// port number and speed are in effect before a port is opened, and a port that fails to open cannot
// cost the save. "Active Feed" is "None" when no feed is ticked, which the loader reads back as no feed.
std::optional<SetupFormError> SaveSettings(SettingsStore& store, const nav::ClockSource& clock,
                                           const SetupForm& form, Settings& settings, TrackingState& tracking,
                                           const SaveActions& actions);

// Renames feed box `feedIndex` (0 L, 1 S, 2 X) and stores its caption at once as "Offset 1".."Offset 3".
void SaveFeedCaption(SettingsStore& store, Settings& settings, int feedIndex, const QString& caption);

// Puts `ephemeris` in effect and stores it at once as "Ephemeris".
void SaveEphemeris(SettingsStore& store, Settings& settings, nav::Ephemeris ephemeris);

// Puts `source` in effect as the one the Track menu follows and stores it at once as "Source".
void SaveSource(SettingsStore& store, Settings& settings, nav::RadioSource source);

// The first `count` characters of a text; a character outside the basic plane is never cut in two.
QString FirstCharacters(const QString& text, int count);

}  // namespace skyrel

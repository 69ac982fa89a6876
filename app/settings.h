// Every stored option, in memory, and how it is read from the settings store.
#pragma once

#include <QPoint>
#include <QString>
#include <array>
#include <optional>

#include "app/settingsstore.h"
#include "navlib/clocksource.h"
#include "navlib/skystate.h"

namespace skyrel {

// Whose feed offset applies to the Sun and the Moon.
enum class Feed { None, L, S, X };

inline const std::array<QString, 3> kBuiltInFeedCaptions = {QStringLiteral("L-band Feed Offset (deg)"),
                                                            QStringLiteral("S-band Feed Offset (deg)"),
                                                            QStringLiteral("X-band Feed Offset (deg)")};

// Offsets are indexed 0 static, 1 L feed, 2 S feed, 3 X feed.
inline constexpr int kStaticOffset = 0;

struct Settings {
    nav::ObserverSite site;
    bool autoTime = true;
    double clockOffset = 0;  // hours, local time minus UTC
    bool sunShadow = false, moonShadow = false;
    bool sunHorizon = false, moonHorizon = false;
    bool sunSubPoint = false, moonSubPoint = false;
    int comPort = 0;   // 0 = output on the local endpoint, 1..12 = serial port n
    int baudRate = 0;  // baud
    double parkAz = 0, parkEl = 0;  // degrees (hour angle and declination in the LHA formats)
    std::array<double, 4> offsetAz{};
    std::array<double, 4> offsetEl{};
    Feed activeFeed = Feed::L;
    QString outputFormat;
    std::array<QString, 3> feedCaption = kBuiltInFeedCaptions;
};

struct LoadOutcome {
    // The conversion message of the first stored number that failed; the values after it keep their
    // built-in values.
    std::optional<QString> error;
};

// Reads the options group into `settings`, with the defaults for missing or empty values.
LoadOutcome LoadSettings(const SettingsStore& store, const nav::ClockSource& clock, Settings& settings);

// Baud rate of a baud list index: 1200 x 2^index.
int BaudRateOfIndex(int index);

// Window positions: "FormN.Top" / "FormN.Left" in the positions group; missing or not an integer is 20.
QPoint LoadWindowPosition(const SettingsStore& store, int formNumber);
void SaveWindowPosition(SettingsStore& store, int formNumber, QPoint topLeft);
// Whether "FormN.Top" and "FormN.Left" are both stored as integers.
bool HasStoredWindowPosition(const SettingsStore& store, int formNumber);

}  // namespace skyrel

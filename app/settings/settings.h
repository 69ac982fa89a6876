// Every stored option, in memory, and how it is read from the settings store.
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <array>
#include <limits>
#include <optional>
#include <utility>

#include "app/settings/settingsstore.h"
#include "navlib/clocksource.h"
#include "navlib/radiosource.h"
#include "navlib/skystate.h"

namespace skyrel {

// Whose feed offset applies to the Sun and the Moon.
enum class Feed { None, L, S, X };

inline const std::array<QString, 3> kBuiltInFeedCaptions = {QStringLiteral("L-band Feed Offset (deg)"),
                                                            QStringLiteral("S-band Feed Offset (deg)"),
                                                            QStringLiteral("X-band Feed Offset (deg)")};

// The texts that stand for an empty or missing value of the observer's site, and the format's default.
inline const QString kDefaultLatitudeText = QStringLiteral("38.02");
inline const QString kDefaultLongitudeText = QStringLiteral("-78.63");
inline const QString kDefaultHeightText = QStringLiteral("100");
inline const QString kDefaultObserverName = QStringLiteral("Observer");
inline const QString kDefaultOutputFormat = QStringLiteral("EasyComm1");

// The empty text reads as the default text: a missing value and an empty one are alike.
inline QString OrDefault(const QString& text, const QString& defaultText) {
    return text.isEmpty() ? defaultText : text;
}

// The switches of the groups other than [Startup] are stored as "True" and "False" (the [Startup] group's
// own switches are lower case, settingswriter.h).
inline QString SwitchText(bool on) { return on ? QStringLiteral("True") : QStringLiteral("False"); }

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
    QString iersFile;  // the stored "IERS File"; site.iers holds its rows when it could be read
    nav::RadioSource source = nav::RadioSource::CasA;  // the stored "Source": the one the Track menu follows
};

// The park position and the feed and static offsets (degrees), in the order they are read and written:
// the stored name and the field it fills.
struct PointingOption {
    const char* name;
    double& (*field)(Settings&);
};
extern const std::array<PointingOption, 10> kPointingOptions;

struct LoadOutcome {
    // One line per stored value that failed its conversion or its range, "<key> in <file>: <why>; using
    // <default>"; every value was read, and a failed one holds its default.
    std::optional<QString> error;
};

// Reads the options group into `settings`, with the defaults for missing or empty values and for values
// that fail (each named in the outcome). A baud rate index outside the list is the list's first, 1200
// baud, without a message.
LoadOutcome LoadSettings(const SettingsStore& store, const nav::ClockSource& clock, Settings& settings);

// A number's allowed range, as a refusal names it.
struct NumberRange {
    const char* what;
    double lowest, highest;
    const char* unit;
};
// Every time zone on Earth lies within a day of UTC.
inline constexpr NumberRange kClockOffsetRange{"the clock offset", -24, 24, "hours"};
inline constexpr NumberRange kLatitudeRange{"the latitude", -90, 90, "degrees"};
inline constexpr NumberRange kLongitudeRange{"the longitude", -180, 180, "degrees"};
// From the shore of the Dead Sea to well above any mountain an antenna stands on.
inline constexpr NumberRange kHeightRange{"the height", -500, 20000, "m"};
inline constexpr NumberRange kDut1Range{"DUT1", -0.9, 0.9, "s"};
// A Hamlib device's serial speed; 0 leaves the model's own.
inline constexpr NumberRange kSerialSpeedRange{"the speed", 0, 1e7, "baud"};
// Every finite number: only a text that does not convert is refused.
inline constexpr NumberRange kAnyNumber{"the value", -std::numeric_limits<double>::infinity(),
                                        std::numeric_limits<double>::infinity(), ""};

// Why a number text is refused: the conversion message when it is not a number, "'%s' is out of range:
// <what> must be from <lowest> to <highest> <unit>" when it lies outside the range; nothing when good.
std::optional<QString> RangeRefusal(const QString& text, const NumberRange& range);

// Reads stored options of one group one at a time. A missing or empty value is its default; a value that
// fails its conversion or range is its default too, and the failure is kept for the one message of the
// load. A key of a group other than the options group is named with its group, "Radio/Step".
class OptionReader {
public:
    // Reads the options group, or the group named.
    explicit OptionReader(const SettingsStore& store, QString group = kOptionsGroup)
        : store_(store), group_(std::move(group)) {}
    QString text(const QString& name, const QString& defaultText) const;
    double real(const QString& name, const QString& defaultText, const NumberRange& range = kAnyNumber);
    int integer(const QString& name, const QString& defaultText, const NumberRange& range = kAnyNumber);
    // The stored text when it is one of `names`, else the default, refused as "'<text>' is none of <names>".
    QString choice(const QString& name, const QString& defaultText, const QStringList& names);
    // A switch stored as "True" or "False" (SwitchText).
    bool onOff(const QString& name, bool defaultValue);
    // Keeps "<name> in <file>: <why>; using <defaultText>".
    void refuse(const QString& name, const QString& why, const QString& defaultText);
    // Every failure, one line each, or nothing when every value was good.
    std::optional<QString> message() const;

private:
    const SettingsStore& store_;
    QString group_;
    QStringList failures_;
};

// "casa", "cyga", "taua" or "vira" for the stored "Source", and back; any other text names no source.
QString SourceKey(nav::RadioSource source);
std::optional<nav::RadioSource> SourceOfKey(const QString& key);
// The source's name as menus and pages show it, "Cas A".
QString SourceName(nav::RadioSource source);

// The observer's latitude, longitude and height as stored, each in its range (kLatitudeRange...).
void ReadSite(OptionReader& reader, nav::ObserverSite& site);

// The baud list: indexes 0 .. kBaudRateCount - 1, 1200 to 76800 baud.
inline constexpr int kBaudRateCount = 7;
// Baud rate of a baud list index: 1200 x 2^index.
int BaudRateOfIndex(int index);
// The baud list index that shows a rate: how many times it halves while above 1200 (76800 gives 6).
int BaudIndexOfRate(int baudRate);

// "L", "S", "X" or "None" for the stored "Active Feed", and back; any other text names no feed.
QString FeedText(Feed feed);
std::optional<Feed> FeedOfText(const QString& text);

// "Standard" or "Precise" for the stored "Ephemeris", and back. Any other text reads as Standard without
// a message: an older or a newer version may have written it.
QString EphemerisText(nav::Ephemeris ephemeris);
nav::Ephemeris EphemerisOfText(const QString& text);

// UT1 - UTC (s) from the stored "DUT1" text: a number in kDut1Range, else nothing. The empty text is 0.
std::optional<double> Dut1OfText(const QString& text);

// The stored name of a feed box's caption: "Offset 1" .. "Offset 3" for the L, S and X boxes (0..2).
QString FeedCaptionName(int feedIndex);

// Window positions: "FormN.Top" / "FormN.Left" in the positions group; missing or not an integer is 20.
inline constexpr QPoint kDefaultWindowPosition{20, 20};
QPoint LoadWindowPosition(const SettingsStore& store, int formNumber);
void SaveWindowPosition(SettingsStore& store, int formNumber, QPoint topLeft);
// Whether "FormN.Top" and "FormN.Left" are both stored as integers.
bool HasStoredWindowPosition(const SettingsStore& store, int formNumber);

}  // namespace skyrel

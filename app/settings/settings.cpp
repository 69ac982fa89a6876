#include "app/settings/settings.h"

#include <cmath>
#include <limits>

#include "app/settings/iersfile.h"
#include "app/settings/numbertext.h"
#include "navlib/timecal.h"

namespace skyrel {
namespace {

QString ReadOr(const SettingsStore& store, const QString& name, const QString& defaultText) {
    return OrDefault(store.read(kOptionsGroup, name), defaultText);
}

// A conversion that failed stops the load: the remaining values keep their built-in values.
struct ConversionFailure {
    QString message;
};

double Real(const SettingsStore& store, const QString& name, const QString& defaultText) {
    const QString text = ReadOr(store, name, defaultText);
    const auto value = ParseReal(text);
    if (!value) throw ConversionFailure{InvalidRealMessage(text)};
    return *value;
}

double ClockOffset(const SettingsStore& store) {
    const QString text = ReadOr(store, QStringLiteral("TimeOff"), QStringLiteral("0"));
    if (const auto refusal = ClockOffsetRefusal(text)) throw ConversionFailure{*refusal};
    return *ParseReal(text);
}

int Integer(const SettingsStore& store, const QString& name, const QString& defaultText) {
    const QString text = ReadOr(store, name, defaultText);
    const auto value = ParseInteger(text);
    if (!value) throw ConversionFailure{InvalidIntegerMessage(text)};
    return *value;
}

bool Flag(const SettingsStore& store, const QString& name) {
    return store.read(kOptionsGroup, name) == QLatin1String("true");
}

bool IsListedBaudRate(int baudRate) {
    for (int index = 0; index < kBaudRateCount; ++index)
        if (baudRate == BaudRateOfIndex(index)) return true;
    return false;
}

QString PositionName(int formNumber, const char* edge) {
    return QStringLiteral("Form%1.%2").arg(formNumber).arg(QLatin1String(edge));
}

}  // namespace

int BaudRateOfIndex(int index) {
    // An absurd stored index must not overflow: no port opens at such a speed anyway.
    const double rate = std::trunc(1200.0 * std::pow(2.0, index));
    return rate >= std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : static_cast<int>(rate);
}

const std::array<PointingOption, 10> kPointingOptions = {{
    {"Park Azm", [](Settings& s) -> double& { return s.parkAz; }},
    {"Park Elev", [](Settings& s) -> double& { return s.parkEl; }},
    {"L Offset Az", [](Settings& s) -> double& { return s.offsetAz[1]; }},
    {"L Offset El", [](Settings& s) -> double& { return s.offsetEl[1]; }},
    {"S Offset Az", [](Settings& s) -> double& { return s.offsetAz[2]; }},
    {"S Offset El", [](Settings& s) -> double& { return s.offsetEl[2]; }},
    {"X Offset Az", [](Settings& s) -> double& { return s.offsetAz[3]; }},
    {"X Offset El", [](Settings& s) -> double& { return s.offsetEl[3]; }},
    {"Static Offset Az", [](Settings& s) -> double& { return s.offsetAz[kStaticOffset]; }},
    {"Static Offset El", [](Settings& s) -> double& { return s.offsetEl[kStaticOffset]; }},
}};

std::optional<QString> ClockOffsetRefusal(const QString& text) {
    const auto hours = ParseReal(text);
    if (!hours) return InvalidRealMessage(text);
    if (std::fabs(*hours) > kMaxClockOffsetHours)
        return QStringLiteral("'%1' is out of range: the clock offset must be from -%2 to %2 hours")
            .arg(text)
            .arg(kMaxClockOffsetHours);
    return std::nullopt;
}

int BaudIndexOfRate(int baudRate) {
    int index = 0;
    for (int rate = baudRate; rate > 1200; rate /= 2) ++index;
    return index;
}

QString FeedText(Feed feed) {
    switch (feed) {
        case Feed::L: return QStringLiteral("L");
        case Feed::S: return QStringLiteral("S");
        case Feed::X: return QStringLiteral("X");
        case Feed::None: break;
    }
    return QStringLiteral("None");
}

std::optional<Feed> FeedOfText(const QString& text) {
    for (const Feed feed : {Feed::None, Feed::L, Feed::S, Feed::X})
        if (text == FeedText(feed)) return feed;
    return std::nullopt;
}

QString EphemerisText(nav::Ephemeris ephemeris) {
    return ephemeris == nav::Ephemeris::Precise ? QStringLiteral("Precise") : QStringLiteral("Standard");
}

nav::Ephemeris EphemerisOfText(const QString& text) {
    return text == EphemerisText(nav::Ephemeris::Precise) ? nav::Ephemeris::Precise : nav::Ephemeris::Standard;
}

std::optional<double> Dut1OfText(const QString& text) {
    const auto value = ParseReal(OrDefault(text, QStringLiteral("0")));
    if (!value || std::fabs(*value) > kMaxDut1Seconds) return std::nullopt;
    return value;
}

QString FeedCaptionName(int feedIndex) { return QStringLiteral("Offset %1").arg(feedIndex + 1); }

LoadOutcome LoadSettings(const SettingsStore& store, const nav::ClockSource& clock, Settings& s) {
    LoadOutcome outcome;
    try {
        s.site.latitude = Real(store, QStringLiteral("Observer Latitude"), kDefaultLatitudeText);
        s.site.longitude = Real(store, QStringLiteral("Observer Longitude"), kDefaultLongitudeText);
        s.site.height = Real(store, QStringLiteral("Observer Height"), kDefaultHeightText);
        s.site.name = ReadOr(store, QStringLiteral("Observer Name"), kDefaultObserverName).toStdString();

        if (store.read(kOptionsGroup, QStringLiteral("Auto Time")) == QLatin1String("false")) {
            s.autoTime = false;
            s.clockOffset = ClockOffset(store);
        } else {
            s.autoTime = true;
            s.clockOffset = nav::AutoClockOffset(clock);
        }

        s.sunShadow = Flag(store, QStringLiteral("Sun Shadow"));
        s.moonShadow = Flag(store, QStringLiteral("Moon Shadow"));
        s.sunHorizon = Flag(store, QStringLiteral("Sun Horizon"));
        s.moonHorizon = Flag(store, QStringLiteral("Moon Horizon"));
        s.sunSubPoint = Flag(store, QStringLiteral("Sun Sub Pt"));
        s.moonSubPoint = Flag(store, QStringLiteral("Moon Sub Pt"));

        s.comPort = Integer(store, QStringLiteral("Com Port"), QStringLiteral("1"));
        s.baudRate = BaudRateOfIndex(Integer(store, QStringLiteral("Baud Rate"), QStringLiteral("0")));

        for (const PointingOption& option : kPointingOptions)
            option.field(s) = Real(store, QLatin1String(option.name), QStringLiteral("0"));
    } catch (const ConversionFailure& failure) {
        outcome.error = failure.message;
    }
    // No speed at all (the load stopped before it) or one beyond the list would fail the port's open, and
    // a failed open while tracking ends the program.
    if (!IsListedBaudRate(s.baudRate)) s.baudRate = BaudRateOfIndex(0);
    if (outcome.error) return outcome;

    // Any other text leaves the feed in effect as it is.
    if (const auto feed = FeedOfText(ReadOr(store, QStringLiteral("Active Feed"), QStringLiteral("L"))))
        s.activeFeed = *feed;

    s.outputFormat = ReadOr(store, QStringLiteral("Output Format"), kDefaultOutputFormat);

    for (int i = 0; i < 3; ++i) {
        const QString caption = store.read(kOptionsGroup, FeedCaptionName(i));
        if (!caption.isEmpty()) s.feedCaption[i] = caption;
    }

    s.site.ephemeris = EphemerisOfText(store.read(kOptionsGroup, QStringLiteral("Ephemeris")));
    s.iersFile = store.read(kOptionsGroup, kIersFileKey);
    s.site.iers = LoadIersFile(s.iersFile);
    // Read last, so that a bad value costs nothing but itself.
    const QString dut1Text = store.read(kOptionsGroup, QStringLiteral("DUT1"));
    const auto dut1 = Dut1OfText(dut1Text);
    s.site.dut1Seconds = dut1.value_or(0);
    if (!dut1) outcome.error = InvalidRealMessage(dut1Text);
    return outcome;
}

QPoint LoadWindowPosition(const SettingsStore& store, int formNumber) {
    const auto top = ParseInteger(store.read(kPositionsGroup, PositionName(formNumber, "Top")));
    const auto left = ParseInteger(store.read(kPositionsGroup, PositionName(formNumber, "Left")));
    return QPoint(left.value_or(kDefaultWindowPosition.x()), top.value_or(kDefaultWindowPosition.y()));
}

void SaveWindowPosition(SettingsStore& store, int formNumber, QPoint topLeft) {
    store.write(kPositionsGroup, PositionName(formNumber, "Top"), QString::number(topLeft.y()));
    store.write(kPositionsGroup, PositionName(formNumber, "Left"), QString::number(topLeft.x()));
    store.sync();
}

bool HasStoredWindowPosition(const SettingsStore& store, int formNumber) {
    return ParseInteger(store.read(kPositionsGroup, PositionName(formNumber, "Top"))).has_value() &&
           ParseInteger(store.read(kPositionsGroup, PositionName(formNumber, "Left"))).has_value();
}

}  // namespace skyrel

#include "app/settings/settings.h"

#include <cmath>
#include <limits>

#include "app/settings/iersfile.h"
#include "app/settings/numbertext.h"
#include "app/station/pointing.h"
#include "navlib/timecal.h"

namespace skyrel {
namespace {

bool Flag(const SettingsStore& store, const QString& name) {
    return store.read(kOptionsGroup, name) == QLatin1String("true");
}

bool IsListedBaudRate(int baudRate) {
    for (int index = 0; index < kBaudRateCount; ++index)
        if (baudRate == BaudRateOfIndex(index)) return true;
    return false;
}

// Why a stored name is refused: it is none of the names the option takes.
QString NoneOf(const QString& stored, const QStringList& names) {
    return QStringLiteral("%1 is none of %2").arg(QuotedValue(stored), names.join(QStringLiteral(", ")));
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

std::optional<QString> RangeRefusal(const QString& text, const NumberRange& range) {
    const auto value = ParseReal(text);
    if (!value) return InvalidRealMessage(text);
    if (*value < range.lowest || *value > range.highest)
        return QStringLiteral("%1 is out of range: %2 must be from %3 to %4 %5")
            .arg(QuotedValue(text), QLatin1String(range.what))
            .arg(range.lowest)
            .arg(range.highest)
            .arg(QLatin1String(range.unit))
            .trimmed();
    return std::nullopt;
}

QString OptionReader::text(const QString& name, const QString& defaultText) const {
    return OrDefault(store_.read(group_, name), defaultText);
}

double OptionReader::real(const QString& name, const QString& defaultText, const NumberRange& range) {
    const QString stored = text(name, defaultText);
    if (const auto refusal = RangeRefusal(stored, range)) {
        refuse(name, *refusal, defaultText);
        return *ParseReal(defaultText);
    }
    return *ParseReal(stored);
}

int OptionReader::integer(const QString& name, const QString& defaultText, const NumberRange& range) {
    const QString stored = text(name, defaultText);
    const auto value = ParseInteger(stored);
    if (!value) {
        refuse(name, InvalidIntegerMessage(stored), defaultText);
    } else if (const auto refusal = RangeRefusal(stored, range)) {
        refuse(name, *refusal, defaultText);
    } else {
        return *value;
    }
    return *ParseInteger(defaultText);
}

QString OptionReader::choice(const QString& name, const QString& defaultText, const QStringList& names) {
    const QString stored = text(name, defaultText);
    if (names.contains(stored)) return stored;
    refuse(name, NoneOf(stored, names), defaultText);
    return defaultText;
}

bool OptionReader::onOff(const QString& name, bool defaultValue) {
    return choice(name, SwitchText(defaultValue), {SwitchText(true), SwitchText(false)}) == SwitchText(true);
}

void OptionReader::refuse(const QString& name, const QString& why, const QString& defaultText) {
    const QString key = group_ == kOptionsGroup ? name : group_ + QLatin1Char('/') + name;
    failures_.append(QStringLiteral("%1 in %2: %3; using %4").arg(key, store_.fileName(), why, defaultText));
}

std::optional<QString> OptionReader::message() const {
    if (failures_.isEmpty()) return std::nullopt;
    return failures_.join(QLatin1Char('\n'));
}

QString SourceKey(nav::RadioSource source) { return QLatin1String(nav::SourceData(source).key); }

std::optional<nav::RadioSource> SourceOfKey(const QString& key) {
    return nav::RadioSourceOfKey(key.toStdString());
}

QString SourceName(nav::RadioSource source) { return QLatin1String(nav::SourceData(source).name); }

void ReadSite(OptionReader& reader, nav::ObserverSite& site) {
    site.latitude = reader.real(QStringLiteral("Observer Latitude"), kDefaultLatitudeText, kLatitudeRange);
    site.longitude = reader.real(QStringLiteral("Observer Longitude"), kDefaultLongitudeText, kLongitudeRange);
    site.height = reader.real(QStringLiteral("Observer Height"), kDefaultHeightText, kHeightRange);
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
    const QString stored = OrDefault(text, QStringLiteral("0"));
    if (RangeRefusal(stored, kDut1Range)) return std::nullopt;
    return ParseReal(stored);
}

QString FeedCaptionName(int feedIndex) { return QStringLiteral("Offset %1").arg(feedIndex + 1); }

LoadOutcome LoadSettings(const SettingsStore& store, const nav::ClockSource& clock, Settings& s) {
    OptionReader reader(store);
    ReadSite(reader, s.site);
    s.site.name = reader.text(QStringLiteral("Observer Name"), kDefaultObserverName).toStdString();

    if (store.read(kOptionsGroup, QStringLiteral("Auto Time")) == QLatin1String("false")) {
        s.autoTime = false;
        s.clockOffset = reader.real(QStringLiteral("TimeOff"), QStringLiteral("0"), kClockOffsetRange);
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

    s.comPort = reader.integer(QStringLiteral("Com Port"), QStringLiteral("1"));
    s.baudRate = BaudRateOfIndex(reader.integer(QStringLiteral("Baud Rate"), QStringLiteral("0")));
    // A speed beyond the list would fail the port's open, and a failed open while tracking ends the program.
    if (!IsListedBaudRate(s.baudRate)) s.baudRate = BaudRateOfIndex(0);

    for (const PointingOption& option : kPointingOptions)
        option.field(s) = reader.real(QLatin1String(option.name), QStringLiteral("0"));

    // Any other text leaves the feed in effect as it is.
    if (const auto feed = FeedOfText(reader.text(QStringLiteral("Active Feed"), QStringLiteral("L"))))
        s.activeFeed = *feed;

    // A name that is none of the four would send nothing while the station says it is tracking.
    QStringList formatNames;
    for (const OutputFormat& format : kOutputFormats) formatNames.append(QLatin1String(format.name));
    s.outputFormat = reader.choice(QStringLiteral("Output Format"), kDefaultOutputFormat, formatNames);

    for (int i = 0; i < 3; ++i) {
        const QString caption = store.read(kOptionsGroup, FeedCaptionName(i));
        if (!caption.isEmpty()) s.feedCaption[i] = caption;
    }

    s.site.ephemeris = EphemerisOfText(store.read(kOptionsGroup, QStringLiteral("Ephemeris")));
    s.iersFile = store.read(kOptionsGroup, kIersFileKey);
    s.site.iers = LoadIersFile(s.iersFile);
    s.site.dut1Seconds = reader.real(QStringLiteral("DUT1"), QStringLiteral("0"), kDut1Range);

    QStringList sourceKeys;
    for (const nav::RadioSource known : nav::kRadioSources) sourceKeys.append(SourceKey(known));
    s.source = *SourceOfKey(reader.choice(QStringLiteral("Source"), SourceKey(nav::RadioSource::CasA), sourceKeys));
    return LoadOutcome{reader.message()};
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

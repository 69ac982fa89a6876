#include "tools/skyrel-ephem/run.h"

#include <QString>
#include <cmath>

#include "app/numbertext.h"
#include "app/plannersettings.h"
#include "app/settings.h"
#include "app/settingsstore.h"
#include "navlib/skystate.h"
#include "tools/skyrel-ephem/options.h"
#include "tools/skyrel-ephem/report.h"

namespace ephem {
namespace {

// A stored value as the tracker reads it, or the tracker's built-in value when empty or not a number.
double StoredOr(const skyrel::SettingsStore& store, const QString& name, const QString& defaultText) {
    const auto stored = skyrel::ParseReal(store.read(skyrel::kOptionsGroup, name));
    return stored ? *stored : *skyrel::ParseReal(defaultText);
}

nav::ObserverSite ResolveSite(const Options& o) {
    nav::ObserverSite site;
    if (!o.latitude || !o.longitude || !o.height) {
        const skyrel::NativeSettingsStore store;
        site.latitude = StoredOr(store, QStringLiteral("Observer Latitude"), skyrel::kDefaultLatitudeText);
        site.longitude = StoredOr(store, QStringLiteral("Observer Longitude"), skyrel::kDefaultLongitudeText);
        site.height = StoredOr(store, QStringLiteral("Observer Height"), skyrel::kDefaultHeightText);
    }
    if (o.latitude) site.latitude = *o.latitude;
    if (o.longitude) site.longitude = *o.longitude;
    if (o.height) site.height = *o.height;
    if (o.precise) {
        site.ephemeris = nav::Ephemeris::Precise;
        const skyrel::NativeSettingsStore store;
        site.dut1Seconds = skyrel::Dut1OfText(store.read(skyrel::kOptionsGroup, QStringLiteral("DUT1"))).value_or(0);
    }
    return site;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    const std::optional<Options> parsed = ParseOptions(args, error);
    if (!parsed) {
        err << "skyrel-ephem: " << error << "\n";
        return kExitBadInput;
    }
    const Options& o = *parsed;
    if (o.help) {
        out << HelpText();
        return 0;
    }
    const nav::ObserverSite site = ResolveSite(o);
    const std::optional<nav::PlannerSite> dx =
        o.dx ? std::optional(nav::MakePlannerSite(o.dx->latitude, o.dx->longitude, o.dxHeight.value_or(0),
                                                      site.ephemeris, site.dut1Seconds))
             : std::nullopt;
    const skyrel::PlannerSettings planner = skyrel::LoadPlannerSettings(skyrel::NativeSettingsStore());

    if (o.windows) {
        const WindowsReport report = ComputeWindows(site, *dx, o.date.value_or(Today(0)), int(o.days.value_or(1)),
                                                    o.minElevation.value_or(planner.minElevation));
        out << (o.json ? WindowsJson(report) : o.csv ? WindowsCsv(report) : WindowsText(report));
        return 0;
    }

    if (o.riseSet) {
        const bool showUtc = !o.localOffset.has_value();
        const double clockOffset = o.localOffset.value_or(0);
        const CalendarDate date = o.date.value_or(Today(clockOffset));
        const nav::RiseSetTexts texts = ComputeRiseSet(site, date, clockOffset, showUtc);
        out << (o.json ? RiseSetJson(texts, showUtc) : RiseSetText(texts));
        return 0;
    }

    const std::int64_t start = o.utc ? EpochSeconds(*o.utc) : EpochSecondsNow();
    if (o.everySeconds) {
        // Past the last instant the calendar wraps: the rows would carry wrong dates and wrong figures.
        const std::int64_t lastAllowed = EpochSeconds(kLastInstant);
        if (start + (*o.count - 1) * *o.everySeconds > lastAllowed) {
            err << "skyrel-ephem: --every and --count run the table past " << UtcText(lastAllowed)
                << ", the last instant it may reach\n";
            return kExitBadInput;
        }
        out << TableHeader(o.csv);
        InstantFigures figures = ComputeCycle(site, start);
        for (long long row = 0; row < *o.count; ++row) {
            if (row > 0) NextCycle(figures, site, start + row * *o.everySeconds);
            out << TableRow(figures, o.csv);
        }
        return 0;
    }
    InstantFigures figures = ComputeInstant(site, start);
    figures.dx = dx;
    AddPlannerFigures(figures, site, skyrel::ShippedSkySurvey(), planner.receiverKelvin);
    out << (o.json ? InstantJson(figures) : InstantText(figures, site));
    return 0;
}

}  // namespace ephem

// skyrel-ephem: the tracker's engine from the command line. See HelpText() for the interface.
#include <QString>
#include <cmath>
#include <iostream>
#include <string>
#include <vector>

#include "app/numbertext.h"
#include "app/plannersettings.h"
#include "app/settings.h"
#include "app/settingsstore.h"
#include "navlib/skystate.h"
#include "tools/skyrel-ephem/options.h"
#include "tools/skyrel-ephem/report.h"

namespace {

constexpr int kExitBadInput = 2;

// A stored value as the tracker reads it, or the tracker's built-in value when empty or not a number.
double StoredOr(const skyrel::SettingsStore& store, const QString& name, const QString& defaultText) {
    const auto stored = skyrel::ParseReal(store.read(skyrel::kOptionsGroup, name));
    return stored ? *stored : *skyrel::ParseReal(defaultText);
}

nav::ObserverSite ResolveSite(const ephem::Options& o) {
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

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const std::optional<ephem::Options> parsed = ephem::ParseOptions(args, error);
    if (!parsed) {
        std::cerr << "skyrel-ephem: " << error << "\n";
        return kExitBadInput;
    }
    const ephem::Options& o = *parsed;
    if (o.help) {
        std::cout << ephem::HelpText();
        return 0;
    }
    const nav::ObserverSite site = ResolveSite(o);
    const std::optional<nav::PlannerSite> dx =
        o.dx ? std::optional(nav::MakePlannerSite(o.dx->latitude, o.dx->longitude, o.dxHeight.value_or(0),
                                                      site.ephemeris, site.dut1Seconds))
             : std::nullopt;
    const skyrel::PlannerSettings planner = skyrel::LoadPlannerSettings(skyrel::NativeSettingsStore());

    if (o.windows) {
        const ephem::WindowsReport report = ephem::ComputeWindows(
            site, *dx, o.date.value_or(ephem::Today(0)), int(o.days.value_or(1)), o.minElevation.value_or(planner.minElevation));
        std::cout << (o.json ? ephem::WindowsJson(report) : o.csv ? ephem::WindowsCsv(report) : ephem::WindowsText(report));
        return 0;
    }

    if (o.riseSet) {
        const bool showUtc = !o.localOffset.has_value();
        const double clockOffset = o.localOffset.value_or(0);
        const ephem::CalendarDate date = o.date.value_or(ephem::Today(clockOffset));
        const nav::RiseSetTexts texts = ephem::ComputeRiseSet(site, date, clockOffset, showUtc);
        std::cout << (o.json ? ephem::RiseSetJson(texts, showUtc) : ephem::RiseSetText(texts));
        return 0;
    }

    const std::int64_t start = o.utc ? ephem::EpochSeconds(*o.utc) : ephem::EpochSecondsNow();
    if (o.everySeconds) {
        // Past the last instant the calendar wraps: the rows would carry wrong dates and wrong figures.
        const std::int64_t lastAllowed = ephem::EpochSeconds(ephem::kLastInstant);
        if (start + (*o.count - 1) * *o.everySeconds > lastAllowed) {
            std::cerr << "skyrel-ephem: --every and --count run the table past " << ephem::UtcText(lastAllowed)
                      << ", the last instant it may reach\n";
            return kExitBadInput;
        }
        std::cout << ephem::TableHeader(o.csv);
        for (long long row = 0; row < *o.count; ++row)
            std::cout << ephem::TableRow(ephem::ComputeCycle(site, start + row * *o.everySeconds), o.csv);
        return 0;
    }
    ephem::InstantFigures figures = ephem::ComputeInstant(site, start);
    figures.dx = dx;
    ephem::AddPlannerFigures(figures, site, skyrel::ShippedSkySurvey(), planner.receiverKelvin);
    std::cout << (o.json ? ephem::InstantJson(figures) : ephem::InstantText(figures, site));
    return 0;
}

#include "tools/skyrel-ephem/run.h"

#include <QString>
#include <cmath>

#include "app/settings/calibrationsettings.h"
#include "app/settings/iersfile.h"
#include "app/settings/plannersettings.h"
#include "app/settings/settings.h"
#include "app/settings/settingsstore.h"
#include "navlib/constants.h"
#include "navlib/skystate.h"
#include "tools/skyrel-ephem/options.h"
#include "tools/skyrel-ephem/report.h"

namespace ephem {
namespace {

// Each stored value refused, one line each as the tool's own refusals.
void PrintRefusals(const std::optional<QString>& refusals, std::ostream& err) {
    if (!refusals) return;
    for (const QString& line : refusals->split(QLatin1Char('\n')))
        err << "skyrel-ephem: " << line.toStdString() << "\n";
}

// The stored site is read as the tracker reads it: a value that is no number or lies outside its range
// is the tracker's default, and the refusal goes to `err`, as a bad flag's would. For the precise
// ephemeris also the stored DUT1 and IERS file (its name into `iersFile`).
nav::ObserverSite ResolveSite(const Options& o, std::ostream& err, QString& iersFile) {
    nav::ObserverSite site;
    if (!o.latitude || !o.longitude || !o.height) {
        const skyrel::NativeSettingsStore store;
        skyrel::OptionReader reader(store);
        skyrel::ReadSite(reader, site);
        PrintRefusals(reader.message(), err);
    }
    if (o.latitude) site.latitude = *o.latitude;
    if (o.longitude) site.longitude = *o.longitude;
    if (o.height) site.height = *o.height;
    if (o.precise) {
        site.ephemeris = nav::Ephemeris::Precise;
        const skyrel::NativeSettingsStore store;
        site.dut1Seconds = skyrel::Dut1OfText(store.read(skyrel::kOptionsGroup, QStringLiteral("DUT1"))).value_or(0);
        iersFile = store.read(skyrel::kOptionsGroup, skyrel::kIersFileKey);
        site.iers = skyrel::LoadIersFile(iersFile);
    }
    return site;
}

// The stored calibration inputs, each flag given in place of its stored value; a stored value refused
// goes to `err` as the site's do.
skyrel::CalibrationSettings CalibrationOf(const Options& o, std::ostream& err) {
    const skyrel::CalibrationLoad load = skyrel::LoadCalibrationSettings(skyrel::NativeSettingsStore());
    PrintRefusals(load.refusals, err);
    skyrel::CalibrationSettings s = load.settings;
    if (o.dishDiameter) s.dish.diameter = *o.dishDiameter;
    if (o.efficiency) s.dish.efficiency = *o.efficiency;
    if (o.solarFlux) {
        s.solarFlux = *o.solarFlux;
        s.fluxDate.clear();  // the stored date belongs to the stored readings
    }
    return s;
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
    QString iersFile;
    const nav::ObserverSite site = ResolveSite(o, err, iersFile);
    const std::optional<nav::PlannerSite> dx =
        o.dx ? std::optional(nav::MakePlannerSite(o.dx->latitude, o.dx->longitude, o.dxHeight.value_or(0), site))
             : std::nullopt;
    const skyrel::PlannerSettings planner = skyrel::LoadPlannerSettings(skyrel::NativeSettingsStore());
    const std::optional<RadioRequest> radio =
        o.radio ? std::optional(RadioRequest{*o.radio, *o.rxSky, o.txSky.value_or(*o.rxSky)}) : std::nullopt;

    if (o.windows) {
        const CalendarDate first = o.date.value_or(Today(0));
        const int days = int(o.days.value_or(1));
        // As for the table: past the last instant the calendar wraps and the windows would carry wrong dates.
        const std::int64_t lastAllowed = EpochSeconds(kLastInstant);
        const std::int64_t lastSecond = EpochSeconds({first.year, first.month, first.day, 0, 0, 0}) +
                                        days * std::int64_t(nav::kSecondsPerDay) - 1;
        if (lastSecond > lastAllowed) {
            err << "skyrel-ephem: --windows with --days " << days << " runs past " << UtcText(lastAllowed)
                << ", the last instant it may reach\n";
            return kExitBadInput;
        }
        const WindowsReport report =
            ComputeWindows(site, *dx, first, days, o.minElevation.value_or(planner.minElevation));
        out << (o.json ? WindowsJson(report) : o.csv ? WindowsCsv(report) : WindowsText(report));
        return 0;
    }

    if (o.riseSet) {
        const bool showUtc = !o.localOffset.has_value();
        const double clockOffset = o.localOffset.value_or(0);
        const CalendarDate date = o.date.value_or(Today(clockOffset));
        const nav::RiseSetTexts texts = ComputeRiseSet(site, date, clockOffset, showUtc);
        const std::int64_t dayStart = EpochSeconds({date.year, date.month, date.day, 0, 0, 0}) -
                                      std::llround(clockOffset * nav::kSecondsPerHour);
        out << (o.json ? RiseSetJson(texts, showUtc, dayStart) : RiseSetText(texts));
        return 0;
    }

    const std::int64_t start = o.utc ? EpochSeconds(*o.utc) : EpochSecondsNow();
    if (o.calibration) {
        const CalibrationReport report =
            ComputeCalibration(site, start, CalibrationOf(o, err), planner.receiverKelvin);
        out << (o.json ? CalibrationJson(report) : o.csv ? CalibrationCsv(report) : CalibrationText(report));
        return 0;
    }
    if (o.everySeconds) {
        // Past the last instant the calendar wraps: the rows would carry wrong dates and wrong figures.
        const std::int64_t lastAllowed = EpochSeconds(kLastInstant);
        if (start + (*o.count - 1) * *o.everySeconds > lastAllowed) {
            err << "skyrel-ephem: --every and --count run the table past " << UtcText(lastAllowed)
                << ", the last instant it may reach\n";
            return kExitBadInput;
        }
        out << TableHeader(o.csv, radio.has_value());
        InstantFigures figures = ComputeCycle(site, start);
        figures.dx = dx;
        for (long long row = 0; row < *o.count; ++row) {
            if (row > 0) NextCycle(figures, site, start + row * *o.everySeconds);
            if (radio) AddRadioDials(figures, site, *radio);
            out << TableRow(figures, o.csv);
        }
        return 0;
    }
    InstantFigures figures = ComputeInstant(site, start);
    figures.dx = dx;
    AddPlannerFigures(figures, site, skyrel::ShippedSkySurvey(), planner.receiverKelvin);
    if (radio) AddRadioDials(figures, site, *radio);
    if (o.source) AddSource(figures, site, *o.source);
    out << (o.json ? InstantJson(figures, iersFile.toStdString()) : InstantText(figures, site));
    return 0;
}

}  // namespace ephem

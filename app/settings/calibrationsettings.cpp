#include "app/settings/calibrationsettings.h"

#include <QDate>
#include <QLocale>

#include "app/settings/numbertext.h"
#include "app/settings/plannersettings.h"
#include "navlib/formatfixed.h"
#include "navlib/eme.h"

namespace skyrel {
namespace {

const QString kDiameterName = QStringLiteral("Dish Diameter");
const QString kEfficiencyName = QStringLiteral("Efficiency");
const QString kMoonName = QStringLiteral("Moon Temperature");
const QString kFluxName = QStringLiteral("Solar Flux");
const QString kFluxDateName = QStringLiteral("Flux Date");
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
// What a refused flux list or date is replaced by, as the refusal names it.
const QString kNoReadings = QStringLiteral("no readings");
const QString kNoDate = QStringLiteral("no date");

QString MeasuredYName(std::size_t band) { return QStringLiteral("Measured Y %1").arg(nav::kEmeBandsMHz[band]); }
// The shortest text that reads back as the same number.
QString NumberText(double value) { return QString::number(value, 'g', QLocale::FloatingPointShortest); }

bool IsFluxDate(const QString& text) { return text.isEmpty() || QDate::fromString(text, kDateFormat).isValid(); }
QString NotADate(const QString& text) {
    return QStringLiteral("%1 is no date of the form YYYY-MM-DD").arg(QuotedValue(text));
}

QString Fixed(double value, int decimals) { return QString::fromStdString(nav::FixedDecimals(value, decimals)); }
QString FixedOrDash(const std::optional<double>& value, int decimals) {
    return value ? Fixed(*value, decimals) : QStringLiteral("-");
}
QString FixedOrOutside(const std::optional<double>& value, int decimals) {
    return value ? Fixed(*value, decimals) : QStringLiteral("outside fit");
}

std::optional<double> MeasuredY(OptionReader& reader, std::size_t band) {
    const QString stored = reader.text(MeasuredYName(band), QString());
    if (stored.isEmpty()) return std::nullopt;
    if (const auto refusal = RangeRefusal(stored, kMeasuredYRange)) {
        reader.refuse(MeasuredYName(band), *refusal, QStringLiteral("none"));
        return std::nullopt;
    }
    return ParseReal(stored);
}

}  // namespace

CalibrationLoad LoadCalibrationSettings(const SettingsStore& store) {
    OptionReader reader(store, kCalibrationGroup);
    CalibrationLoad load;
    CalibrationSettings& s = load.settings;
    s.dish.diameter = reader.real(kDiameterName, NumberText(s.dish.diameter), kDishDiameterRange);
    s.dish.efficiency = reader.real(kEfficiencyName, NumberText(s.dish.efficiency), kEfficiencyRange);
    s.moonBrightnessKelvin = reader.real(kMoonName, NumberText(s.moonBrightnessKelvin), kMoonKelvinRange);

    const QString fluxText = reader.text(kFluxName, QString());
    std::string error;
    if (const auto readings = nav::ParseSolarFluxReadings(fluxText.toStdString(), error))
        s.solarFlux = *readings;
    else
        reader.refuse(kFluxName, QString::fromStdString(error), kNoReadings);

    const QString date = reader.text(kFluxDateName, QString());
    if (IsFluxDate(date)) s.fluxDate = date;
    else reader.refuse(kFluxDateName, NotADate(date), kNoDate);

    for (std::size_t band = 0; band < nav::kBandCount; ++band) s.measuredYDb[band] = MeasuredY(reader, band);
    load.refusals = reader.message();
    return load;
}

void SaveCalibrationSettings(SettingsStore& store, const CalibrationSettings& s) {
    store.write(kCalibrationGroup, kDiameterName, NumberText(s.dish.diameter));
    store.write(kCalibrationGroup, kEfficiencyName, NumberText(s.dish.efficiency));
    store.write(kCalibrationGroup, kMoonName, NumberText(s.moonBrightnessKelvin));
    store.write(kCalibrationGroup, kFluxName, QString::fromStdString(nav::SolarFluxReadingsText(s.solarFlux)));
    store.write(kCalibrationGroup, kFluxDateName, s.fluxDate);
    for (std::size_t band = 0; band < nav::kBandCount; ++band)
        store.write(kCalibrationGroup, MeasuredYName(band),
                    s.measuredYDb[band] ? NumberText(*s.measuredYDb[band]) : QString());
    store.sync();
}

std::array<nav::CalibrationBand, nav::kBandCount> CalibrationTable(const CalibrationSettings& s,
                                                                   const nav::BandValues& receiverKelvin,
                                                                   double moonDistanceKm, double year) {
    nav::CalibrationInputs inputs;
    inputs.dish = s.dish;
    inputs.solarFlux = s.solarFlux;
    inputs.moonBrightnessKelvin = s.moonBrightnessKelvin;
    inputs.moonDistanceKm = moonDistanceKm;
    inputs.year = year;
    return nav::ComputeCalibrationTable(inputs, receiverKelvin, ShippedSkySurvey());
}

std::optional<QString> ReadCalibrationForm(const CalibrationForm& form, CalibrationSettings& settings) {
    CalibrationSettings read = settings;
    const struct {
        const QString& text;
        const NumberRange& range;
        double& field;
    } numbers[] = {{form.diameter, kDishDiameterRange, read.dish.diameter},
                   {form.efficiency, kEfficiencyRange, read.dish.efficiency},
                   {form.moonKelvin, kMoonKelvinRange, read.moonBrightnessKelvin}};
    for (const auto& number : numbers) {
        if (const auto refusal = RangeRefusal(number.text, number.range))
            return QStringLiteral("%1: %2").arg(QLatin1String(number.range.what), *refusal);
        number.field = *ParseReal(number.text);
    }
    std::string error;
    const auto readings = nav::ParseSolarFluxReadings(form.solarFlux.toStdString(), error);
    if (!readings) return QStringLiteral("the solar flux: %1").arg(QString::fromStdString(error));
    read.solarFlux = *readings;
    const QString date = form.fluxDate.trimmed();
    if (!IsFluxDate(date)) return QStringLiteral("the flux date: %1").arg(NotADate(date));
    read.fluxDate = date;
    for (std::size_t band = 0; band < nav::kBandCount; ++band) {
        const QString text = form.measuredY[band].trimmed();
        if (text.isEmpty()) {
            read.measuredYDb[band].reset();
            continue;
        }
        if (const auto refusal = RangeRefusal(text, kMeasuredYRange))
            return QStringLiteral("%1 at %2 MHz: %3")
                .arg(QLatin1String(kMeasuredYRange.what))
                .arg(nav::kEmeBandsMHz[band])
                .arg(*refusal);
        read.measuredYDb[band] = ParseReal(text);
    }
    settings = read;
    return std::nullopt;
}

CalibrationForm FormOfCalibration(const CalibrationSettings& s) {
    CalibrationForm form{NumberText(s.dish.diameter), NumberText(s.dish.efficiency), NumberText(s.moonBrightnessKelvin),
                         QString::fromStdString(nav::SolarFluxReadingsText(s.solarFlux)), s.fluxDate, {}};
    for (std::size_t band = 0; band < nav::kBandCount; ++band)
        if (s.measuredYDb[band]) form.measuredY[band] = NumberText(*s.measuredYDb[band]);
    return form;
}

std::vector<CalibrationRow> CalibrationRows(const std::array<nav::CalibrationBand, nav::kBandCount>& table) {
    std::vector<CalibrationRow> rows;
    const auto add = [&rows, &table](const QString& caption, const QString& key, auto text) {
        CalibrationRow row{caption, key, {}};
        for (std::size_t band = 0; band < nav::kBandCount; ++band) row.texts[band] = text(table[band]);
        rows.push_back(row);
    };
    using Band = nav::CalibrationBand;
    add(QStringLiteral("Frequency (MHz)"), QStringLiteral("frequency"),
        [](const Band& b) { return Fixed(b.frequency, 0); });
    add(QStringLiteral("Beamwidth (deg)"), QStringLiteral("beamwidth"),
        [](const Band& b) { return Fixed(b.beamwidth, 2); });
    add(QStringLiteral("Tsys cold sky (K)"), QStringLiteral("tsys"),
        [](const Band& b) { return Fixed(b.systemKelvin, 1); });
    add(QStringLiteral("Sun flux (sfu)"), QStringLiteral("sunFlux"),
        [](const Band& b) { return FixedOrDash(b.sunFlux, 1); });
    add(QStringLiteral("Sun K"), QStringLiteral("sunK"), [](const Band& b) { return Fixed(b.sunK, 3); });
    add(QStringLiteral("Sun Y (dB)"), QStringLiteral("sunY"), [](const Band& b) { return FixedOrDash(b.sunY, 2); });
    add(QStringLiteral("Moon Y (dB)"), QStringLiteral("moonY"), [](const Band& b) { return Fixed(b.moonY, 2); });
    for (const nav::RadioSource source : nav::kRadioSources) {
        const std::size_t i = nav::SourceIndex(source);
        const QString name = SourceName(source);
        const QString key = SourceKey(source);
        add(name + QStringLiteral(" flux (Jy)"), key + QStringLiteral("Flux"),
            [i](const Band& b) { return FixedOrOutside(b.sources[i].fluxJansky, 0); });
        add(name + QStringLiteral(" Y (dB)"), key + QStringLiteral("Y"),
            [i](const Band& b) { return FixedOrOutside(b.sources[i].yDb, 2); });
    }
    return rows;
}

}  // namespace skyrel

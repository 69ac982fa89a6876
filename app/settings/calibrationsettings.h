// The station's calibration inputs, in the settings group "Calibration": the dish, the Moon's brightness
// temperature, the solar flux readings with the date they were read, and the Y-factor measured on the
// Sun per band. The receiver temperatures are the planner's.
#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "app/settings/settings.h"
#include "app/settings/settingsstore.h"
#include "navlib/calibration.h"
#include "navlib/planner.h"

namespace skyrel {

inline const QString kCalibrationGroup = QStringLiteral("Calibration");

struct CalibrationSettings {
    nav::Dish dish;
    double moonBrightnessKelvin = nav::kDefaultMoonKelvin;
    std::vector<nav::SolarFluxReading> solarFlux;  // none until the user enters the day's readings
    QString fluxDate;                              // "yyyy-MM-dd" of the readings, or empty
    std::array<std::optional<double>, nav::kBandCount> measuredYDb{};  // dB per band of kEmeBandsMHz
};

struct CalibrationLoad {
    CalibrationSettings settings;
    // One line per stored value refused, "<key> in <file>: <why>; using <default>".
    std::optional<QString> refusals;
};

// Reads "Dish Diameter" (m), "Efficiency", "Moon Temperature" (K), "Solar Flux" (MHz:sfu list),
// "Flux Date" and "Measured Y 144" .. "Measured Y 10368" (dB). A missing or empty value is its default
// (a measured Y: none); a value that fails its conversion or range is its default, and named.
CalibrationLoad LoadCalibrationSettings(const SettingsStore& store);
// Writes every value of the group; a measured Y that is none as the empty text.
void SaveCalibrationSettings(SettingsStore& store, const CalibrationSettings& settings);

// The dish's diameter, efficiency and the Moon's temperature the settings accept.
inline constexpr NumberRange kDishDiameterRange{"the dish diameter", 0.3, 100, "m"};
inline constexpr NumberRange kEfficiencyRange{"the aperture efficiency", 0.05, 1, ""};
inline constexpr NumberRange kMoonKelvinRange{"the Moon's brightness temperature", 1, 1000, "K"};
inline constexpr NumberRange kMeasuredYRange{"the measured Y-factor", 0, 40, "dB"};

// The table of the station's calibration at an instant: the inputs, the planner's Trx per band and the
// Moon's distance (km) and date (decimal year) of that instant.
std::array<nav::CalibrationBand, nav::kBandCount> CalibrationTable(const CalibrationSettings& settings,
                                                                   const nav::BandValues& receiverKelvin,
                                                                   double moonDistanceKm, double year);

// The calibration window's boxes as typed.
struct CalibrationForm {
    QString diameter, efficiency, moonKelvin, solarFlux, fluxDate;
    std::array<QString, nav::kBandCount> measuredY;  // dB; empty for none
};

// Puts a form into `settings` when every box reads (each in its range, the readings as
// ParseSolarFluxReadings takes them, the date YYYY-MM-DD or empty) and returns nothing; otherwise
// returns the first bad box's message, "<box>: <why>", and leaves `settings` as it was.
std::optional<QString> ReadCalibrationForm(const CalibrationForm& form, CalibrationSettings& settings);
// The form showing `settings`.
CalibrationForm FormOfCalibration(const CalibrationSettings& settings);

// The table as the window and skyrel-ephem show it: one row a figure, one text a band, each with the
// decimals its accuracy deserves; "-" where a figure needs a solar flux and none is given, "outside fit"
// where a source's fit does not reach the band.
struct CalibrationRow {
    QString caption;  // "Sun Y (dB)"
    QString key;      // "sunY", the JSON and CSV name
    std::array<QString, nav::kBandCount> texts;
};
std::vector<CalibrationRow> CalibrationRows(const std::array<nav::CalibrationBand, nav::kBandCount>& table);

}  // namespace skyrel

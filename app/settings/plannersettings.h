// The EME planner's stored choices, in the settings group "Planner": the last ten DX stations, the
// minimum elevation of a common window and the receiving-system temperature of each band; the planner
// window's size; and the 408 MHz sky survey the planner reads its sky temperatures from.
#pragma once

#include <QSize>
#include <QStringList>

#include "app/settings/settings.h"
#include "app/settings/settingsstore.h"
#include "navlib/planner.h"

namespace skyrel {

inline const QString kPlannerGroup = QStringLiteral("Planner");
inline constexpr int kRecentDxCount = 10;
// Receiving-system temperatures the planner accepts (K).
inline constexpr double kLowestReceiverKelvin = 1;
inline constexpr double kHighestReceiverKelvin = 10000;

struct PlannerSettings {
    QStringList recentDx;  // DX entry lines (nav::DxEntryText), the latest first, at most ten
    double minElevation = 0;  // degrees, nav::kLowestMinimumElevationDeg .. kHighestMinimumElevationDeg
    nav::BandValues receiverKelvin = nav::kDefaultReceiverKelvin;  // K per band of nav::kEmeBandsMHz
};

// Reads "DX 1" .. "DX 10", "Min Elevation" and "Trx 144" .. "Trx 10368". A missing value keeps its
// default (no DX, 0 deg, the default Trx); a number that does not convert or lies out of range, and a DX
// line that does not read as a station, do too and get a line in `reader`'s message.
PlannerSettings ReadPlannerSettings(OptionReader& reader);
// The same with a reader of its own; the message is dropped (the station's start said it).
PlannerSettings LoadPlannerSettings(const SettingsStore& store);
// Writes every value of the group, an unused DX slot as the empty text.
void SavePlannerSettings(SettingsStore& store, const PlannerSettings& settings);

// The recent DX list with `entry` put first: an equal line further down goes, the eleventh goes.
QStringList WithRecentDx(const QStringList& recent, const QString& entry);

// A resizable window's size, "FormN.Width" / "FormN.Height" in the positions group beside its position;
// `fallback` when either is missing or not a positive integer.
QSize LoadWindowSize(const SettingsStore& store, int formNumber, QSize fallback);
void SaveWindowSize(SettingsStore& store, int formNumber, QSize size);

// The survey shipped with the program (assets/tsky408.dat, built in as a resource), read once.
const nav::SkySurvey& ShippedSkySurvey();

}  // namespace skyrel

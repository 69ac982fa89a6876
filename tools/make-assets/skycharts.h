// The two sky pictures in the map's sky projection: the black grid chart and the false-colour chart of
// the sky's background temperature from the 408 MHz all-sky survey.
#pragma once

#include <QImage>

#include "navlib/skytemperature.h"

namespace skyrel::assets {

inline constexpr int kSkyChartWidth = 516;
inline constexpr int kSkyChartHeight = 264;

// 516 x 264: black, dashed blue declination and right-ascension lines, white labels.
QImage MakeCelestialGrid();

// 516 x 264: survey temperature on a logarithmic colour scale, dark grid lines and dark labels.
QImage MakeSkyNoiseChart(const nav::SkySurvey& survey);

}  // namespace skyrel::assets

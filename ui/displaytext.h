// The texts and colours of the main window's Sun and Moon panels, computed from the engine's figures.
// Nothing here touches a widget, so every rule is tested on its own.
#pragma once

#include <QColor>
#include <QString>

namespace skyrel {

enum class CoordinateDisplay { AzEl, RaDec, LhaDec };

// Kilometres and miles; 0.62136932 is the factor the program has always used (not 0.621371).
inline constexpr double kKilometres = 1.0;
inline constexpr double kMiles = 0.62136932;

// The shared number rule (formatFixed) as text for a label or an edit box.
QString FixedText(double value, int significant, int decimals);

// "%.2f" with '.' whatever the locale.
QString FixedText(double value, int decimals);

// Right ascension (radians) as "HH:MM:SS"; the seconds are rounded without carrying, so 60 can appear.
QString RightAscensionText(double rightAscension);

// Distance in the unit of `factor`, as "%.0f" with ',' before each group of three digits.
QString DistanceText(double kilometres, double factor);

// The Moon's elongation (degrees) with its phase word or its waxing "^" / waning "v" marker.
QString ElongationText(double elongation);

// Colour of a body's coordinate values: red above the horizon, blue in twilight (above -6 degrees),
// black below; at exactly 0 or -6 the previous colour stays.
QColor ElevationColour(double elevation, const QColor& previous);

// The mean anomaly label: the phase rounded to a whole number, then "/256".
QString AnomalyText(double phase);

}  // namespace skyrel

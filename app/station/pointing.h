// The pointing commanded to the antenna: the corrections of the target position and the text line of
// each output format, with what the status box shows for it. Plain functions over the settings and the
// engine's record, so every rule can be checked without a window or a port.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>

#include "app/settings/settings.h"
#include "app/station/trackingstate.h"
#include "navlib/skystate.h"

namespace skyrel {

// The four output formats: the stored name, the setup dialog's caption, the line family (an "AZ.. EL.."
// line with frequency fields, or the target word and "AZ:.. EL:..") and whether they command hour angle
// and declination rather than azimuth and elevation.
struct OutputFormat {
    enum class Family { Easy, Nova };
    const char* name;
    const char* caption;
    Family family;
    bool hourAngle;
};
inline constexpr std::array<OutputFormat, 4> kOutputFormats = {{
    {"EasyComm1", "EasyComm1 Az/El", OutputFormat::Family::Easy, false},
    {"Nova", "Nova Az/El", OutputFormat::Family::Nova, false},
    {"EasyLHA", "EasyComm1 LHA/Dec", OutputFormat::Family::Easy, true},
    {"NovaLHA", "Nova LHA/Dec", OutputFormat::Family::Nova, true},
}};

// The format of that stored name, or none for a name that is none of the four.
const OutputFormat* FindOutputFormat(const QString& name);

// "EasyComm1" and "Nova" command azimuth/elevation; every other name, known or not, hour angle and
// declination.
bool IsAzElFormat(const QString& outputFormat);

// Azimuth/elevation of the target (degrees, changed in place). The Sun, the Moon and a source get the active feed's
// offset as a cross-elevation angle plus the static offset; the park position only the static offset.
// Then the azimuth is wrapped once into 0..360 (360 stays) and the elevation limited: below 0 gives 0,
// above 95 gives 90.
void CorrectAzEl(double& azimuth, double& elevation, TrackMode target, const Settings& settings);

// Replaces the pair by the target's hour angle and declination (degrees) for an equatorial mount: the
// hour angle turned by 180 (the meridian is 180), the declination raised by 45 (the equator is 45), then
// the static offset. The park values are taken as stored, with nothing added.
void CorrectLhaDec(double& first, double& second, TrackMode target, const Settings& settings,
                   const nav::SkyState& sky);

struct PointingLine {
    QByteArray line;  // ends in CR LF; empty for a format name that is none of the four
    QString statusFirst;   // "Az: 123.5", or "LHA: 20.0" in the LHA formats
    QString statusSecond;  // "El: 45.7", or "Dec: 105.0"
};

// The line and status texts for values that are already corrected: the first value with at most 4
// significant digits, the second with at most 3, each with one decimal.
PointingLine FormatPointing(double first, double second, TrackMode target, const QString& outputFormat);

// The correction of the output format applied to the raw target position, then the formatting.
PointingLine MakePointing(double first, double second, TrackMode target, const Settings& settings,
                          const nav::SkyState& sky);

}  // namespace skyrel

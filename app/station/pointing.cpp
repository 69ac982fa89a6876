#include "app/station/pointing.h"

#include <cmath>

#include "navlib/constants.h"
#include "navlib/formatfixed.h"

namespace skyrel {
namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");
// Fixed frequency fields the Easy lines always carry.
const QByteArray kEasyFrequencyFields = QByteArrayLiteral(" UP000000000 UUU DN000000000 DDD");

struct FeedOffset {
    double azimuth = 0;
    double elevation = 0;
};

FeedOffset ActiveFeedOffset(const Settings& s) {
    switch (s.activeFeed) {
        case Feed::L: return {s.offsetAz[1], s.offsetEl[1]};
        case Feed::S: return {s.offsetAz[2], s.offsetEl[2]};
        case Feed::X: return {s.offsetAz[3], s.offsetEl[3]};
        case Feed::None: break;
    }
    return {};
}

QByteArray TargetWord(TrackMode target) {
    switch (target) {
        case TrackMode::Sun: return QByteArrayLiteral("Sun ");
        case TrackMode::Moon: return QByteArrayLiteral("Moon ");
        case TrackMode::Park: return QByteArrayLiteral("Park ");
        case TrackMode::Source: return QByteArrayLiteral("Source ");
        case TrackMode::Off: break;
    }
    return {};
}

}  // namespace

const OutputFormat* FindOutputFormat(const QString& name) {
    for (const OutputFormat& format : kOutputFormats)
        if (name == QLatin1String(format.name)) return &format;
    return nullptr;
}

bool IsAzElFormat(const QString& outputFormat) {
    const OutputFormat* format = FindOutputFormat(outputFormat);
    return format && !format->hourAngle;
}

void CorrectAzEl(double& azimuth, double& elevation, TrackMode target, const Settings& s) {
    if (target == TrackMode::Park) {
        azimuth = s.parkAz + s.offsetAz[kStaticOffset];
        elevation = s.parkEl + s.offsetEl[kStaticOffset];
    } else {
        const FeedOffset feed = ActiveFeedOffset(s);
        const double a = nav::Radians(feed.azimuth);
        const double e = nav::Radians(elevation);
        azimuth = azimuth + nav::Degrees(std::atan(std::tan(a) / std::cos(e))) + s.offsetAz[kStaticOffset];
        elevation = nav::Degrees(std::asin(std::cos(a) * std::sin(e))) + s.offsetEl[kStaticOffset] + feed.elevation;
    }
    if (azimuth > 360) azimuth -= 360;
    if (azimuth < 0) azimuth += 360;
    if (elevation < 0) elevation = 0;
    // A mount that accepts up to 95 degrees is left alone; anything beyond is taken back to the zenith.
    if (elevation > 95) elevation = 90;
}

void CorrectLhaDec(double& first, double& second, TrackMode target, const Settings& s, const nav::SkyState& sky) {
    if (target == TrackMode::Park) {
        first = s.parkAz;
        second = s.parkEl;
        return;
    }
    if (const nav::BodyState* body = TrackedBody(target, sky)) {
        first = body->hourAngle;
        second = nav::Degrees(body->declination);
    }
    first += 180;
    if (first >= 360) first -= 360;
    if (first < 0) first += 360;
    second += 45;
    first += s.offsetAz[kStaticOffset];
    second += s.offsetEl[kStaticOffset];
}

PointingLine FormatPointing(double first, double second, TrackMode target, const QString& outputFormat) {
    const QByteArray a = QByteArray::fromStdString(nav::formatFixed(first, 4, 1));
    const QByteArray b = QByteArray::fromStdString(nav::formatFixed(second, 3, 1));
    PointingLine out;
    // A name that is none of the four makes the empty line, and the status box shows "Az: "/"El: ".
    const OutputFormat* format = FindOutputFormat(outputFormat);
    if (format && format->family == OutputFormat::Family::Easy)
        out.line = "AZ" + a + " EL" + b + kEasyFrequencyFields + kLineEnd;
    else if (format)
        out.line = TargetWord(target) + "AZ:" + a + " EL:" + b + kLineEnd;
    const bool lha = format && format->hourAngle;
    out.statusFirst = (lha ? QStringLiteral("LHA: ") : QStringLiteral("Az: ")) + QString::fromLatin1(a);
    out.statusSecond = (lha ? QStringLiteral("Dec: ") : QStringLiteral("El: ")) + QString::fromLatin1(b);
    return out;
}

PointingLine MakePointing(double first, double second, TrackMode target, const Settings& settings,
                          const nav::SkyState& sky) {
    if (IsAzElFormat(settings.outputFormat)) CorrectAzEl(first, second, target, settings);
    else CorrectLhaDec(first, second, target, settings, sky);
    return FormatPointing(first, second, target, settings.outputFormat);
}

}  // namespace skyrel

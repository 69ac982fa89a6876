#include "navlib/riseset.h"

#include <cmath>
#include <cstdio>

#include "navlib/formatfixed.h"
#include "navlib/observer.h"
#include "navlib/timecal.h"

namespace nav {
namespace {

// Geometric elevation (degrees) of a rising or setting body's centre: refraction and the semidiameter.
constexpr double kHorizonDeg = -0.83;
// One search step (day): one minute written as this decimal, a few microseconds short of 1/1440, so the
// instant of step k truncates to minute k - 1, the minute within which the crossing happened.
constexpr double kStepDays = 0.00069444444;
// The search runs while the day fraction is at most this: 26:24, to catch Moon events after midnight.
constexpr double kSearchEndDays = 1.1;

struct BodyEvents {
    double riseTime = 0, setTime = 0, transitTime = 0;  // day fractions from the start of the searched day
    bool riseFound = false, setFound = false, transitFound = false;
    double highest = -90, lowest = 90;                  // degrees
    double previousElevation = 0, previousAzimuth = 0;  // degrees, the preceding step
};

void TestTransit(BodyEvents& events, const BodyState& body, double fraction) {
    if (!(body.elevation > 0 && !events.transitFound && fraction != 0)) return;
    // Southern meridian crossed westward, then northern meridian crossed westward.
    if (events.previousAzimuth < 180 && body.azimuth >= 180) {
        events.transitTime = fraction;
        events.transitFound = true;
    }
    if (events.previousAzimuth < 1 && body.azimuth > 359) {
        events.transitTime = fraction;
        events.transitFound = true;
    }
}

void TestRiseSet(BodyEvents& events, const BodyState& body, double fraction) {
    if (events.previousElevation < kHorizonDeg && body.elevation >= kHorizonDeg && !events.riseFound) {
        events.riseTime = fraction;
        events.riseFound = true;
    }
    if (events.previousElevation > kHorizonDeg && body.elevation <= kHorizonDeg && !events.setFound) {
        events.setTime = fraction;
        events.setFound = true;
    }
}

// Hours and minutes of a day fraction, both truncated.
struct HourMinute {
    int hour, minute;
};

HourMinute SplitTime(double fraction) {
    const double hours = fraction * 24;
    const int h = static_cast<int>(std::trunc(hours));
    const int m = static_cast<int>(std::trunc((hours - h) * 60));
    return {h, m};
}

int MinuteOf(double fraction) {
    const HourMinute t = SplitTime(fraction);
    return t.hour * 60 + t.minute;
}

std::string HourMinuteText(HourMinute t) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", t.hour, t.minute);
    return text;
}

// Moon rise and set wrap past midnight and are marked as belonging to the next day.
std::string MoonEventText(double fraction) {
    HourMinute t = SplitTime(fraction);
    if (t.hour >= 24) {
        t.hour -= 24;
        return "** " + HourMinuteText(t);
    }
    return HourMinuteText(t);
}

RiseSetPanel MakePanel(const BodyEvents& events, const std::string& riseText, const std::string& setText,
                       const std::string& suffix) {
    const std::string riseCaption = "Rise" + suffix + ":";
    const std::string setCaption = "Set" + suffix + ":";
    const std::string riseShown = events.riseFound ? riseText : (events.highest > 0 ? " ++++" : " -----");
    const std::string setShown = events.setFound ? setText : (events.lowest > 0 ? " ++++" : " -----");

    const auto minute = [](bool found, double fraction) {
        return found ? std::optional(MinuteOf(fraction)) : std::nullopt;
    };
    const std::optional<int> riseMinute = minute(events.riseFound, events.riseTime);
    const std::optional<int> setMinute = minute(events.setFound, events.setTime);

    RiseSetPanel panel;
    if (events.riseTime > events.setTime) {
        panel.row1Caption = setCaption;
        panel.row1Text = setShown;
        panel.row1Minute = setMinute;
        panel.row2Caption = riseCaption;
        panel.row2Text = riseShown;
        panel.row2Minute = riseMinute;
    } else {
        panel.row1Caption = riseCaption;
        panel.row1Text = riseShown;
        panel.row1Minute = riseMinute;
        panel.row2Caption = setCaption;
        panel.row2Text = setShown;
        panel.row2Minute = setMinute;
    }
    panel.transitCaption = "Transit" + suffix + ":";
    panel.transitText = events.transitFound ? HourMinuteText(SplitTime(events.transitTime)) : "-----";
    panel.transitMinute = minute(events.transitFound, events.transitTime);
    panel.maxMin = FixedDecimals(events.highest, 1) + " / " + FixedDecimals(events.lowest, 1);
    return panel;
}

}  // namespace

RiseSetTexts FindRiseSet(SkyState& sky, const ObserverSite& site, double clockOffset, bool showUtc) {
    const int savedUtcDay = sky.clock.utcDay;
    const double savedUtcFraction = sky.clock.utcFraction;
    const BodyState savedSun = sky.sun;
    const BodyState savedMoon = sky.moon;
    const double savedElongation = sky.moonElongation;

    BodyEvents sun, moon;

    UtcToLocal(sky.clock, clockOffset);
    sky.clock.localFraction = 0;  // the search clock: start of the current local day

    do {
        if (showUtc) {
            sky.clock.utcFraction = sky.clock.localFraction;
        } else {
            LocalToUtc(sky.clock, clockOffset);
        }
        ComputePositions(sky, site);
        const double fraction = sky.clock.localFraction;

        if (fraction == 0) {
            moon.previousElevation = sky.moon.elevation;
            sun.previousElevation = sky.sun.elevation;
        }
        if (sky.moon.elevation > moon.highest) moon.highest = sky.moon.elevation;
        if (sky.sun.elevation > sun.highest) sun.highest = sky.sun.elevation;
        if (sky.moon.elevation < moon.lowest) moon.lowest = sky.moon.elevation;
        if (sky.sun.elevation < sun.lowest) sun.lowest = sky.sun.elevation;

        TestTransit(sun, sky.sun, fraction);
        TestTransit(moon, sky.moon, fraction);
        TestRiseSet(moon, sky.moon, fraction);
        TestRiseSet(sun, sky.sun, fraction);

        moon.previousElevation = sky.moon.elevation;
        moon.previousAzimuth = sky.moon.azimuth;
        sun.previousElevation = sky.sun.elevation;
        sun.previousAzimuth = sky.sun.azimuth;

        sky.clock.localFraction += kStepDays;
    } while (sky.clock.localFraction <= kSearchEndDays);

    const std::string suffix = showUtc ? " (UTC)" : " (LOC)";
    RiseSetTexts texts;
    texts.sun = MakePanel(sun, " " + HourMinuteText(SplitTime(sun.riseTime)), HourMinuteText(SplitTime(sun.setTime)),
                          suffix);
    texts.moon = MakePanel(moon, MoonEventText(moon.riseTime), MoonEventText(moon.setTime), suffix);

    sky.clock.utcDay = savedUtcDay;
    sky.clock.utcFraction = savedUtcFraction;
    sky.sun.elevation = savedSun.elevation;
    sky.sun.azimuth = savedSun.azimuth;
    sky.sun.distance = savedSun.distance;
    sky.moon.elevation = savedMoon.elevation;
    sky.moon.azimuth = savedMoon.azimuth;
    sky.moon.distance = savedMoon.distance;
    sky.moonElongation = savedElongation;
    return texts;
}

}  // namespace nav

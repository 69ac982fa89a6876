// What the antenna follows, and where its pointing goes. Reset at every start; never stored.
#pragma once

#include <QString>
#include <optional>

#include "navlib/skystate.h"

namespace skyrel {

// Source: the radio source the settings name (Settings::source), computed by the cycle into sky.source.
enum class TrackMode { Sun, Moon, Park, Off, Source };
inline constexpr TrackMode kTrackModes[] = {TrackMode::Sun, TrackMode::Moon, TrackMode::Park, TrackMode::Off,
                                            TrackMode::Source};

struct TrackingState {
    TrackMode trackMode = TrackMode::Off;
    bool trackingActive = false;  // between a start and a stop of tracking; a failed start leaves it false
    bool ddeOutput = false;       // pointing lines go to the local endpoint instead of the serial port
};


// The lower-case names a user types and the API speaks: "sun", "moon", "park", "off" and "source".
inline QString TrackModeName(TrackMode mode) {
    switch (mode) {
        case TrackMode::Sun: return QStringLiteral("sun");
        case TrackMode::Moon: return QStringLiteral("moon");
        case TrackMode::Park: return QStringLiteral("park");
        case TrackMode::Off: return QStringLiteral("off");
        case TrackMode::Source: return QStringLiteral("source");
    }
    return {};
}

inline std::optional<TrackMode> TrackModeOfName(const QString& name) {
    for (const TrackMode mode : kTrackModes)
        if (name == TrackModeName(mode)) return mode;
    return std::nullopt;
}

// The body a mode follows in the cycle's record: the Sun, the Moon or the source; none for Park and Off.
inline const nav::BodyState* TrackedBody(TrackMode mode, const nav::SkyState& sky) {
    switch (mode) {
        case TrackMode::Sun: return &sky.sun;
        case TrackMode::Moon: return &sky.moon;
        case TrackMode::Source: return &sky.source;
        case TrackMode::Park:
        case TrackMode::Off: break;
    }
    return nullptr;
}

}  // namespace skyrel

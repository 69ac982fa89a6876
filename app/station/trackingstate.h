// What the antenna follows, and where its pointing goes. Reset at every start; never stored.
#pragma once

#include <QString>
#include <optional>

namespace skyrel {

enum class TrackMode { Sun, Moon, Park, Off };

struct TrackingState {
    TrackMode trackMode = TrackMode::Off;
    bool trackingActive = false;  // between a start and a stop of tracking; a failed start leaves it false
    bool ddeOutput = false;       // pointing lines go to the local endpoint instead of the serial port
};


// The lower-case names a user types and the API speaks: "sun", "moon", "park" and "off".
inline QString TrackModeName(TrackMode mode) {
    switch (mode) {
        case TrackMode::Sun: return QStringLiteral("sun");
        case TrackMode::Moon: return QStringLiteral("moon");
        case TrackMode::Park: return QStringLiteral("park");
        case TrackMode::Off: return QStringLiteral("off");
    }
    return {};
}

inline std::optional<TrackMode> TrackModeOfName(const QString& name) {
    for (const TrackMode mode : {TrackMode::Sun, TrackMode::Moon, TrackMode::Park, TrackMode::Off})
        if (name == TrackModeName(mode)) return mode;
    return std::nullopt;
}

}  // namespace skyrel

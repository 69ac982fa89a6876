// What the antenna follows, and where its pointing goes. Reset at every start; never stored.
#pragma once

namespace skyrel {

enum class TrackMode { Sun, Moon, Park, Off };

struct TrackingState {
    TrackMode trackMode = TrackMode::Off;
    bool trackingActive = false;  // between a start and a stop of tracking; a failed start leaves it false
    bool ddeOutput = false;       // pointing lines go to the local endpoint instead of the serial port
};

}  // namespace skyrel

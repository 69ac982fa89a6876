// The command language of the endpoint's item: after every poke, the first line of the item's value may
// name one of the commands that drive tracking, switch the output channel, end the program, choose the
// radio's Doppler convention, or tell that a program keying the radio itself transmits.
#pragma once

#include <QByteArrayView>
#include <QMetaType>
#include <optional>

#include "app/endpoint/endpointitem.h"

namespace skyrel {

enum class EndpointCommand {
    TrackSun, TrackMoon, TrackPark, TrackOff, TrackDde, TrackSer, TrackShut, TrackSrc,
    RadioOff, RadioEcho, RadioMoon, RadioDx, PttOn, PttOff,
};

// The command a line names: at most its first 11 characters, with every character of code 32 or less
// removed at both ends, compared exactly, letter case included. Anything else names none.
std::optional<EndpointCommand> CommandOfLine(QByteArrayView line);

// The command the item's value carries on its first line (SkyrelItemPokeData's reading of it).
std::optional<EndpointCommand> CommandOfItem(const EndpointItem& item);

}  // namespace skyrel

Q_DECLARE_METATYPE(skyrel::EndpointCommand)

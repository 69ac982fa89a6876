#include "app/endpoint/endpointcommand.h"

#include <algorithm>
#include <array>
#include <utility>

namespace skyrel {
namespace {

constexpr qsizetype kSignificantLength = 11;

constexpr std::array<std::pair<const char*, EndpointCommand>, 14> kCommands = {{
    {"TRACK_SUN", EndpointCommand::TrackSun},
    {"TRACK_MOON", EndpointCommand::TrackMoon},
    {"TRACK_PARK", EndpointCommand::TrackPark},
    {"TRACK_OFF", EndpointCommand::TrackOff},
    {"TRACK_DDE", EndpointCommand::TrackDde},
    {"TRACK_SER", EndpointCommand::TrackSer},
    {"TRACK_SHUT", EndpointCommand::TrackShut},
    {"TRACK_SRC", EndpointCommand::TrackSrc},
    {"RADIO_OFF", EndpointCommand::RadioOff},
    {"RADIO_ECHO", EndpointCommand::RadioEcho},
    {"RADIO_MOON", EndpointCommand::RadioMoon},
    {"RADIO_DX", EndpointCommand::RadioDx},
    {"PTT_ON", EndpointCommand::PttOn},
    {"PTT_OFF", EndpointCommand::PttOff},
}};

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

std::optional<EndpointCommand> CommandOfLine(QByteArrayView line) {
    QByteArrayView text = line.first(std::min(line.size(), kSignificantLength));
    while (!text.isEmpty() && IsBlankOrControl(text.front())) text = text.sliced(1);
    while (!text.isEmpty() && IsBlankOrControl(text.back())) text.chop(1);
    for (const auto& [name, command] : kCommands)
        if (text == QByteArrayView(name)) return command;
    return std::nullopt;
}

std::optional<EndpointCommand> CommandOfItem(const EndpointItem& item) { return CommandOfLine(item.firstLine()); }

}  // namespace skyrel

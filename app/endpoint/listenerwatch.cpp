#include "app/endpoint/listenerwatch.h"

namespace skyrel {
namespace {
constexpr int kCheckIntervalMs = 1000;
}  // namespace

ListenerWatch::ListenerWatch(QLocalServer& server, QObject* parent) : QObject(parent), server_(server) {
    timer_.setInterval(kCheckIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &ListenerWatch::check);
}

void ListenerWatch::watch() {
    name_ = server_.fullServerName();
    reported_ = false;
    timer_.start();
}

void ListenerWatch::unwatch() { timer_.stop(); }

void ListenerWatch::check() {
    // Listening a whole interval ends the episode: a later stop is told again.
    if (server_.isListening()) {
        reported_ = false;
        return;
    }
    if (!reported_) {
        emit stopped(QStringLiteral("%1 stopped listening (%2); listening there again").arg(name_, server_.errorString()));
        reported_ = true;
    }
    // Qt removed the socket file as it closed the server; a file that is there now is another's.
    server_.listen(name_);
}

}  // namespace skyrel

#include "app/program/terminationsignals.h"

#include <QCoreApplication>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace skyrel {
namespace {

// The write end is all a signal handler may touch; the read end belongs to the event loop.
int signalPipe[2] = {-1, -1};
// SIGHUP comes when the terminal a station was started from is closed: an end like any other.
constexpr int kHandledSignals[] = {SIGTERM, SIGINT, SIGHUP};

void WriteSignalNumber(int signalNumber) {
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &number, 1);
    errno = savedErrno;
}

void SetHandler(int signalNumber, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signalNumber, &action, nullptr);
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &TerminationSignals::readPipe);
    for (const int signalNumber : kHandledSignals) {
        // A station started under nohup was asked to outlive its terminal: it keeps SIGHUP ignored.
        struct sigaction inherited {};
        ::sigaction(signalNumber, nullptr, &inherited);
        if (signalNumber == SIGHUP && inherited.sa_handler == SIG_IGN) continue;
        SetHandler(signalNumber, WriteSignalNumber);
    }
}

TerminationSignals::~TerminationSignals() {
    for (const int signalNumber : kHandledSignals) SetHandler(signalNumber, SIG_DFL);
    notifier_.reset();
    for (int& end : signalPipe) {
        if (end >= 0) ::close(end);
        end = -1;
    }
}

void TerminationSignals::readPipe() {
    unsigned char number = 0;
    while (::read(signalPipe[0], &number, 1) == 1) {
        emit received(number);
        QCoreApplication::exit(0);
    }
}

}  // namespace skyrel

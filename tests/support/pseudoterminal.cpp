#include "tests/support/pseudoterminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <array>

namespace skyrel::test {

PseudoTerminal::PseudoTerminal() {
    int master = -1;
    int slave = -1;
    std::array<char, 256> name{};
    if (openpty(&master, &slave, name.data(), nullptr, nullptr) != 0) return;
    // The device stays while the master is open; the program under test opens it by its path.
    ::close(slave);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    master_ = master;
    devicePath_ = QString::fromLocal8Bit(name.data());
}

PseudoTerminal::~PseudoTerminal() { close(); }

void PseudoTerminal::close() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
}

QByteArray PseudoTerminal::readAvailable(int waitMs) {
    QByteArray out;
    if (master_ < 0) return out;
    pollfd p{master_, POLLIN, 0};
    if (::poll(&p, 1, waitMs) <= 0 || !(p.revents & POLLIN)) return out;
    std::array<char, 4096> buffer{};
    for (;;) {
        const ssize_t n = ::read(master_, buffer.data(), buffer.size());
        if (n <= 0) break;
        out.append(buffer.data(), n);
    }
    return out;
}

QByteArray PseudoTerminal::readBytes(int count, int waitMs) {
    QByteArray out;
    while (out.size() < count) {
        const QByteArray more = readAvailable(waitMs);
        if (more.isEmpty()) break;
        out += more;
    }
    return out;
}

}  // namespace skyrel::test

#include "app/web/webaccess.h"

namespace skyrel {
namespace {

const QByteArray kBearerPrefix = QByteArrayLiteral("Bearer ");

QByteArray CookieValue(const QByteArray& cookieHeader, const QByteArray& name) {
    for (const QByteArray& pair : cookieHeader.split(';')) {
        const QByteArray trimmed = pair.trimmed();
        if (trimmed.startsWith(name + '=')) return trimmed.mid(name.size() + 1);
    }
    return {};
}

}  // namespace

QByteArray HeaderValue(const HeaderList& headers, const QByteArray& name) {
    for (const auto& [key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0) return value;
    return {};
}

QByteArray PresentedToken(const HeaderList& headers) {
    const QByteArray authorization = HeaderValue(headers, QByteArrayLiteral("Authorization"));
    if (authorization.startsWith(kBearerPrefix)) return authorization.mid(kBearerPrefix.size()).trimmed();
    return CookieValue(HeaderValue(headers, QByteArrayLiteral("Cookie")), kWebCookieName);
}

bool TokensEqual(const QByteArray& expected, const QByteArray& presented) {
    unsigned char difference = expected.size() == presented.size() ? 0 : 1;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const char other = i < presented.size() ? presented[i] : char(~expected[i]);
        difference |= static_cast<unsigned char>(expected[i] ^ other);
    }
    return difference == 0 && !expected.isEmpty();
}

bool OriginAllowed(const HeaderList& headers, bool tls) {
    const QByteArray origin = HeaderValue(headers, QByteArrayLiteral("Origin"));
    if (origin.isEmpty()) return true;
    const QByteArray host = HeaderValue(headers, QByteArrayLiteral("Host"));
    return !host.isEmpty() && origin == (tls ? QByteArrayLiteral("https://") : QByteArrayLiteral("http://")) + host;
}

WebAccess::WebAccess(QByteArray token) : token_(std::move(token)) { clock_.start(); }

bool WebAccess::paused(const QHostAddress& address) const {
    const auto found = failures_.constFind(address);
    return found != failures_.cend() && clock_.elapsed() < found->pausedUntil;
}

WebAccess::Verdict WebAccess::check(const QHostAddress& address, const QByteArray& presented, bool* pauseStarted) {
    if (pauseStarted) *pauseStarted = false;
    if (paused(address)) return Verdict::Paused;
    if (TokensEqual(token_, presented)) return Verdict::Allowed;
    if (presented.isEmpty()) return Verdict::Refused;
    const qint64 now = clock_.elapsed();
    // Addresses whose failures and pause are over are forgotten, so that many addresses cannot fill memory.
    failures_.removeIf([now](const QHash<QHostAddress, Failures>::iterator& entry) {
        return now >= entry->pausedUntil && (entry->times.isEmpty() || now - entry->times.last() >= kWebFailureWindowMs);
    });
    Failures& failures = failures_[address];
    failures.times.append(now);
    while (failures.times.size() > kWebFailuresBeforePause) failures.times.removeFirst();
    if (failures.times.size() == kWebFailuresBeforePause && now - failures.times.first() < kWebFailureWindowMs) {
        failures.times.clear();
        failures.pausedUntil = now + kWebPauseMs;
        if (pauseStarted) *pauseStarted = true;
    }
    return Verdict::Refused;
}

}  // namespace skyrel

// Who may use the web page: the token a request presents (a bearer header or the login cookie), compared
// in constant time, and the pause of an address that keeps presenting wrong ones. Also the Origin rule of
// the requests that change something.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QPair>

namespace skyrel {

// The login cookie's name.
inline const QByteArray kWebCookieName = QByteArrayLiteral("skyrel_token");
// Wrong tokens from one address within kWebFailureWindowMs that pause it for kWebPauseMs.
inline constexpr int kWebFailuresBeforePause = 5;
inline constexpr qint64 kWebFailureWindowMs = 60'000;
inline constexpr qint64 kWebPauseMs = 60'000;

using HeaderList = QList<QPair<QByteArray, QByteArray>>;

// The value of header `name` (case-insensitive), empty when absent.
QByteArray HeaderValue(const HeaderList& headers, const QByteArray& name);

// The token a request presents: "Authorization: Bearer <token>", else the login cookie; empty when none.
QByteArray PresentedToken(const HeaderList& headers);

// True when `a` and `b` are equal, in a time that depends on the length of `expected` only.
bool TokensEqual(const QByteArray& expected, const QByteArray& presented);

// A change may come from the page itself (its Origin is this server as the browser addressed it, the
// Host header) or from a client that sends no Origin at all (curl, scripts with the bearer token).
bool OriginAllowed(const HeaderList& headers, bool tls);

class WebAccess {
public:
    enum class Verdict { Allowed, Refused, Paused };

    explicit WebAccess(QByteArray token);

    // Checks what `address` presents. A wrong token (not an absent one) counts against the address; the
    // fifth within a minute pauses it, and `pauseStarted` is set for that one call.
    Verdict check(const QHostAddress& address, const QByteArray& presented, bool* pauseStarted = nullptr);
    // Whether `address` is paused now.
    bool paused(const QHostAddress& address) const;

private:
    struct Failures {
        QList<qint64> times;  // ms on clock_, the latest kWebFailuresBeforePause
        qint64 pausedUntil = -1;
    };

    QByteArray token_;
    QElapsedTimer clock_;
    QHash<QHostAddress, Failures> failures_;
};

}  // namespace skyrel

// The web page's options, in the settings group "Web": whether the station serves its page, where it
// listens, the token every request but the login page must carry, and the PEM files that turn on TLS.
#pragma once

#include <QString>

#include "app/settings/settings.h"
#include "app/settings/settingsstore.h"

namespace skyrel {

inline const QString kWebGroup = QStringLiteral("Web");
inline constexpr quint16 kDefaultWebPort = 8073;
// Random bytes of a new token: 256 bits, twice what guessing at the lock-out's rate could ever reach.
inline constexpr int kWebTokenBytes = 32;

struct WebSettings {
    bool enabled = false;
    QString address = QStringLiteral("127.0.0.1");  // the one address the server binds
    quint16 port = kDefaultWebPort;
    QString token;                                   // base64url, empty until first enabled
    QString certificate, key;                        // PEM paths; TLS when both are set

    bool tls() const { return !certificate.isEmpty() && !key.isEmpty(); }
    bool operator==(const WebSettings&) const = default;
};

// "Enabled", "Address", "Port", "Token", "Certificate" and "Key" of the group. A missing or empty value
// keeps its default; a value that fails gets its default and a line in `reader`'s message.
WebSettings ReadWebSettings(OptionReader& reader);

// The stored settings, with a token made and stored when the page is enabled and has none yet (the
// settings file is then made readable by its owner only). `problems` gains a line for each stored value
// replaced by its default and one when the token could not be stored; the token is used for this run all
// the same.
WebSettings LoadWebSettingsWithToken(SettingsStore& store, QStringList& problems);

// A new token of kWebTokenBytes random bytes from the system's generator, base64url without padding.
QString NewWebToken();

// The address to open in a browser for the first login: the login page, the token in the fragment (a
// fragment never leaves the browser, so it stays out of logs and Referer headers).
QString WebLoginUrl(const WebSettings& settings);

}  // namespace skyrel

#include "app/web/websettings.h"

#include <QByteArray>
#include <QFile>
#include <QRandomGenerator>
#include <QUrl>
#include <array>

#include "app/settings/settings.h"

namespace skyrel {
namespace {

const QString kEnabledName = QStringLiteral("Enabled");
const QString kAddressName = QStringLiteral("Address");
const QString kPortName = QStringLiteral("Port");
const QString kTokenName = QStringLiteral("Token");
const QString kCertificateName = QStringLiteral("Certificate");
const QString kKeyName = QStringLiteral("Key");
constexpr NumberRange kPortRange{"the port", 1, 65535, ""};

// The token lives in the settings file: nobody but its owner reads it.
void RestrictToOwner(const SettingsStore& store) {
    if (const auto* native = dynamic_cast<const NativeSettingsStore*>(&store))
        QFile::setPermissions(native->fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

}  // namespace

WebSettings ReadWebSettings(OptionReader& reader) {
    WebSettings s;
    s.enabled = reader.onOff(kEnabledName, s.enabled);
    s.address = reader.text(kAddressName, s.address).trimmed();
    s.port = quint16(reader.integer(kPortName, QString::number(s.port), kPortRange));
    s.token = reader.text(kTokenName, QString());
    s.certificate = reader.text(kCertificateName, QString());
    s.key = reader.text(kKeyName, QString());
    return s;
}

WebSettings LoadWebSettingsWithToken(SettingsStore& store, QStringList& problems) {
    OptionReader reader(store, kWebGroup);
    WebSettings settings = ReadWebSettings(reader);
    if (const std::optional<QString> message = reader.message()) problems << message->split(QLatin1Char('\n'));
    if (!settings.enabled || !settings.token.isEmpty()) return settings;
    settings.token = NewWebToken();
    store.write(kWebGroup, kTokenName, settings.token);
    if (!store.sync()) problems << QStringLiteral("the web page's new token could not be stored; it holds for this run only");
    RestrictToOwner(store);
    return settings;
}

QString NewWebToken() {
    std::array<quint32, kWebTokenBytes / sizeof(quint32)> words;
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    const QByteArray bytes(reinterpret_cast<const char*>(words.data()), kWebTokenBytes);
    return QString::fromLatin1(bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

QString WebLoginUrl(const WebSettings& settings) {
    QUrl url;
    url.setScheme(settings.tls() ? QStringLiteral("https") : QStringLiteral("http"));
    url.setHost(settings.address);
    url.setPort(settings.port);
    url.setPath(QStringLiteral("/login"));
    url.setFragment(settings.token);
    return url.toString();
}

}  // namespace skyrel

#include "app/web/websettings.h"

#include <QByteArray>
#include <QFile>
#include <QRandomGenerator>
#include <QUrl>
#include <array>

#include "app/settings/numbertext.h"
#include "app/settings/settings.h"

namespace skyrel {
namespace {

const QString kEnabledName = QStringLiteral("Enabled");
const QString kAddressName = QStringLiteral("Address");
const QString kPortName = QStringLiteral("Port");
const QString kTokenName = QStringLiteral("Token");
const QString kCertificateName = QStringLiteral("Certificate");
const QString kKeyName = QStringLiteral("Key");
constexpr int kHighestPort = 65535;

quint16 PortOf(const QString& text, quint16 defaultPort) {
    if (text.isEmpty()) return defaultPort;
    const std::optional<int> port = ParseInteger(text);
    return port && *port > 0 && *port <= kHighestPort ? quint16(*port) : 0;
}

// The token lives in the settings file: nobody but its owner reads it.
void RestrictToOwner(const SettingsStore& store) {
    if (const auto* native = dynamic_cast<const NativeSettingsStore*>(&store))
        QFile::setPermissions(native->fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

}  // namespace

WebSettings LoadWebSettings(const SettingsStore& store) {
    WebSettings settings;
    settings.enabled = SwitchOfText(store.read(kWebGroup, kEnabledName), false);
    settings.address = OrDefault(store.read(kWebGroup, kAddressName), settings.address);
    settings.port = PortOf(store.read(kWebGroup, kPortName), settings.port);
    settings.token = store.read(kWebGroup, kTokenName);
    settings.certificate = store.read(kWebGroup, kCertificateName);
    settings.key = store.read(kWebGroup, kKeyName);
    return settings;
}

WebSettings LoadWebSettingsWithToken(SettingsStore& store, QString& problem) {
    WebSettings settings = LoadWebSettings(store);
    if (!settings.enabled || !settings.token.isEmpty()) return settings;
    settings.token = NewWebToken();
    store.write(kWebGroup, kTokenName, settings.token);
    if (!store.sync()) problem = QStringLiteral("the web page's new token could not be stored; it holds for this run only");
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

#include "tests/support/headlessbrowser.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

namespace skyrel::test {
namespace {

constexpr int kStartMs = 20000;
constexpr int kCallMs = 10000;

}  // namespace

HeadlessBrowser::~HeadlessBrowser() {
    devtools_.close();
    if (chromium_.state() != QProcess::NotRunning) {
        chromium_.terminate();
        if (!chromium_.waitForFinished(5000)) chromium_.kill();
        chromium_.waitForFinished(5000);
    }
}

bool HeadlessBrowser::start(int widthPx, int heightPx) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (program.isEmpty()) {
        error_ = QStringLiteral("chromium is not installed (scripts/install-deps.sh)");
        return false;
    }
    // Port 0: chromium picks a free port and names it in DevToolsActivePort inside its profile.
    chromium_.start(program, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                              QStringLiteral("--no-first-run"), QStringLiteral("--disable-extensions"),
                              QStringLiteral("--remote-debugging-port=0"),
                              QStringLiteral("--user-data-dir=") + profile_.path(),
                              QStringLiteral("--window-size=%1,%2").arg(widthPx).arg(heightPx),
                              QStringLiteral("about:blank")});
    const QString portFile = profile_.filePath(QStringLiteral("DevToolsActivePort"));
    if (!QTest::qWaitFor([&] { return QFile(portFile).size() > 0; }, kStartMs)) {
        error_ = QStringLiteral("chromium did not open its DevTools port: ") +
                 QString::fromLocal8Bit(chromium_.readAllStandardError().right(2000));
        return false;
    }
    QFile file(portFile);
    file.open(QIODevice::ReadOnly);
    const QByteArray port = file.readLine().trimmed();

    QNetworkAccessManager network;
    std::unique_ptr<QNetworkReply> list(
        network.get(QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1/json/list").arg(QString::fromLatin1(port))))));
    QSignalSpy listed(list.get(), &QNetworkReply::finished);
    if (!listed.wait(kCallMs)) {
        error_ = QStringLiteral("chromium did not list its pages");
        return false;
    }
    QString pageSocket;
    for (const QJsonValue& target : QJsonDocument::fromJson(list->readAll()).array())
        if (target[QStringLiteral("type")].toString() == QLatin1String("page"))
            pageSocket = target[QStringLiteral("webSocketDebuggerUrl")].toString();
    if (pageSocket.isEmpty()) {
        error_ = QStringLiteral("chromium has no page");
        return false;
    }
    QObject::connect(&devtools_, &QWebSocket::textMessageReceived, &devtools_,
                     [this](const QString& text) { handleMessage(text); });
    QSignalSpy connected(&devtools_, &QWebSocket::connected);
    devtools_.open(QUrl(pageSocket));
    if (!connected.wait(kCallMs)) {
        error_ = QStringLiteral("no DevTools connection: ") + devtools_.errorString();
        return false;
    }
    return call(QStringLiteral("Page.enable")).has_value();
}

void HeadlessBrowser::handleMessage(const QString& text) {
    const QJsonObject message = QJsonDocument::fromJson(text.toUtf8()).object();
    if (message.contains(QStringLiteral("id"))) {
        results_.insert(message[QStringLiteral("id")].toInt(), message[QStringLiteral("result")].toObject());
        return;
    }
    if (message[QStringLiteral("method")].toString() == QLatin1String("Page.javascriptDialogOpening")) {
        ++dialogsAccepted_;
        const QJsonObject accept{{QStringLiteral("id"), nextId_++},
                                 {QStringLiteral("method"), QStringLiteral("Page.handleJavaScriptDialog")},
                                 {QStringLiteral("params"), QJsonObject{{QStringLiteral("accept"), true}}}};
        devtools_.sendTextMessage(QString::fromUtf8(QJsonDocument(accept).toJson(QJsonDocument::Compact)));
    }
}

std::optional<QJsonObject> HeadlessBrowser::call(const QString& method, const QJsonObject& params) {
    const int id = nextId_++;
    const QJsonObject request{{QStringLiteral("id"), id}, {QStringLiteral("method"), method}, {QStringLiteral("params"), params}};
    devtools_.sendTextMessage(QString::fromUtf8(QJsonDocument(request).toJson(QJsonDocument::Compact)));
    if (!QTest::qWaitFor([&] { return results_.contains(id); }, kCallMs)) return std::nullopt;
    return results_.take(id);
}

bool HeadlessBrowser::navigate(const QString& url) {
    return call(QStringLiteral("Page.navigate"), {{QStringLiteral("url"), url}}).has_value();
}

std::optional<QJsonValue> HeadlessBrowser::evaluate(const QString& expression) {
    const std::optional<QJsonObject> result =
        call(QStringLiteral("Runtime.evaluate"),
             {{QStringLiteral("expression"), expression}, {QStringLiteral("returnByValue"), true}});
    if (!result || result->contains(QStringLiteral("exceptionDetails"))) return std::nullopt;
    return (*result)[QStringLiteral("result")].toObject()[QStringLiteral("value")];
}

QString HeadlessBrowser::waitForText(const QString& expression, int timeoutMs) {
    QString text;
    const bool shown = QTest::qWaitFor([&] {
        const std::optional<QJsonValue> value = evaluate(expression);
        text = value ? value->toString() : QString();
        return !text.isEmpty();
    }, timeoutMs);
    return shown ? text : QString();
}

}  // namespace skyrel::test

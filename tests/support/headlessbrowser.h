// Debian's chromium, headless, driven through its DevTools protocol over a WebSocket: open an address,
// evaluate script in the page, accept the page's confirmation boxes, take a picture. Every wait runs the
// event loop, so a server in the test's own process answers meanwhile.
#pragma once

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QWebSocket>
#include <optional>

namespace skyrel::test {

class HeadlessBrowser {
public:
    HeadlessBrowser() = default;
    ~HeadlessBrowser();
    HeadlessBrowser(const HeadlessBrowser&) = delete;
    HeadlessBrowser& operator=(const HeadlessBrowser&) = delete;

    // Starts chromium and attaches to its page; false (with error()) when chromium is missing or silent.
    bool start(int widthPx = 420, int heightPx = 900);
    QString error() const { return error_; }

    bool navigate(const QString& url);
    // The value of the JavaScript expression, or nothing when it threw or no answer came.
    std::optional<QJsonValue> evaluate(const QString& expression);
    // Waits until the expression yields a non-empty string; returns it (empty after `timeoutMs`).
    QString waitForText(const QString& expression, int timeoutMs = 10000);
    // How many confirmation boxes the page raised (each accepted).
    int dialogsAccepted() const { return dialogsAccepted_; }

private:
    std::optional<QJsonObject> call(const QString& method, const QJsonObject& params = {});
    void handleMessage(const QString& text);

    QTemporaryDir profile_;
    QProcess chromium_;
    QWebSocket devtools_;
    QString error_;
    int nextId_ = 1;
    QHash<int, QJsonObject> results_;  // by call id, until taken
    int dialogsAccepted_ = 0;
};

}  // namespace skyrel::test

// Keeps a local server listening. Qt closes a local server for good, and removes its socket file, when an
// accept fails (no file descriptor left, say), and says nothing: the name would be gone until a restart
// while the program runs on. The watch looks once a second; a server found closed is made to listen at its
// name again, each second until it stays listening, and that is reported once.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QTimer>

namespace skyrel {

class ListenerWatch : public QObject {
    Q_OBJECT

public:
    explicit ListenerWatch(QLocalServer& server, QObject* parent = nullptr);

    // The server listens now: from here on it is kept listening at its present name.
    void watch();
    // The server was closed on purpose.
    void unwatch();

signals:
    // "<name> stopped listening (<Qt's reason>); listening there again": once, until the server has
    // listened a whole second again.
    void stopped(const QString& message);

private:
    void check();

    QLocalServer& server_;
    QString name_;
    QTimer timer_;
    bool reported_ = false;
};

}  // namespace skyrel

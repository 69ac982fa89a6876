// One running copy per user. The lock "SKYREL.MUTEX" is a lock file in the runtime directory, held for
// the life of the process. Only a lock whose owner still runs keeps a second copy out: a lock left by a
// killed process, and an empty or garbled lock file, are taken over. A second copy asks the first, over
// a local socket, to restore and raise its main window. When no lock can be made at all (a directory in
// the way, a read-only or full runtime directory) the program runs without this protection.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <memory>

#include "app/endpoint/listenerwatch.h"

namespace skyrel {

class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(const QString& runtimeDir, QObject* parent = nullptr);

    enum class Lock {
        Ours,             // this process holds the lock
        AnotherCopyRuns,  // a living copy holds it
        Unavailable,      // no lock can be made here; see unavailableMessage()
    };
    Lock acquire();
    // After Unavailable: for the user, the lock's path and why it cannot be made.
    QString unavailableMessage() const { return unavailableMessage_; }
    // From a second copy: asks the running one to restore its window. False when none answered.
    bool askRunningInstanceToRestore();
    // From the copy that holds the lock: starts answering restore requests.
    void listenForRestoreRequests();

    QString lockPath() const { return lockPath_; }
    QString socketPath() const { return socketPath_; }

signals:
    void restoreRequested();
    // The restore socket had stopped listening and is made to listen again (ListenerWatch): once a stop.
    void listeningStopped(const QString& message);

private:
    // Why tryLock could not make the lock file, in the user's words.
    QString unavailableReason() const;

    QString lockPath_;
    QString socketPath_;
    QString unavailableMessage_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
    ListenerWatch watch_{server_};
    int connections_ = 0;  // restore requests connected now
};

}  // namespace skyrel

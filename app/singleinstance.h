// One running copy per user. The lock "SKYREL.MUTEX" is a lock file in the runtime directory, held for
// the life of the process; a lock left by a killed process is recognised by its dead owner and taken
// over. A second copy asks the first, over a local socket, to restore and raise its main window.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <memory>

namespace skyrel {

class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(const QString& runtimeDir, QObject* parent = nullptr);

    // True when this process now holds the lock.
    bool acquire();
    // From a second copy: asks the running one to restore its window. False when none answered.
    bool askRunningInstanceToRestore();
    // From the first copy: starts answering restore requests.
    void listenForRestoreRequests();

    QString lockPath() const { return lockPath_; }
    QString socketPath() const { return socketPath_; }

signals:
    void restoreRequested();

private:
    QString lockPath_;
    QString socketPath_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};

}  // namespace skyrel

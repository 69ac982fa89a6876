// SIGTERM, SIGINT and SIGHUP (unless started under nohup) as events of the event loop. The handler only writes the signal's number into a
// pipe; the loop reads it and ends with status 0, so everything is taken down by the ordinary destructors
// (the rotator port closed, the endpoint's socket and the lock removed) and no window stores its position.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace skyrel {

class TerminationSignals : public QObject {
    Q_OBJECT

public:
    // Installs the handlers for the life of this object; one object per process.
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    // A signal arrived; the event loop is about to end with status 0.
    void received(int signalNumber);

private:
    void readPipe();

    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace skyrel

#include "app/program/programstart.h"

#include <QCoreApplication>

#include "app/program/headless.h"
#include "app/settings/numbertext.h"
#include "app/settings/settingsstore.h"

namespace skyrel {

SingleInstance::Lock TakeSingleInstanceLock(SingleInstance& instance) {
    const SingleInstance::Lock lock = instance.acquire();
    if (lock == SingleInstance::Lock::AnotherCopyRuns) instance.askRunningInstanceToRestore();
    return lock;
}

QStringList PrepareApplication(SingleInstance& instance, SingleInstance::Lock lock) {
    QStringList problems;
    // Listening from here on, a second copy started while the program is still starting is heard too;
    // its request is answered once the event loop runs.
    if (lock == SingleInstance::Lock::Ours) instance.listenForRestoreRequests();
    if (lock == SingleInstance::Lock::Unavailable) problems << instance.unavailableMessage();
    QCoreApplication::setApplicationName(kApplicationName);
    QCoreApplication::setOrganizationName(kOrganizationName);
    UseCNumbers();
    return problems;
}

void LogListenerStops(SingleInstance& instance, EndpointServer& endpoint) {
    const auto log = [](const QString& message) { LogLine(Severity::Warning, message); };
    QObject::connect(&instance, &SingleInstance::listeningStopped, log);
    QObject::connect(&endpoint, &EndpointServer::listeningStopped, log);
}

}  // namespace skyrel

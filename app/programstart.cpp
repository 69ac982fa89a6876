#include "app/programstart.h"

#include <QCoreApplication>

#include "app/numbertext.h"
#include "app/settingsstore.h"

namespace skyrel {

bool TakeSingleInstanceLock(SingleInstance& instance) {
    if (instance.acquire()) return true;
    instance.askRunningInstanceToRestore();
    return false;
}

void PrepareApplication(SingleInstance& instance) {
    // Listening from here on, a second copy started while the program is still starting is heard too;
    // its request is answered once the event loop runs.
    instance.listenForRestoreRequests();
    QCoreApplication::setApplicationName(kApplicationName);
    QCoreApplication::setOrganizationName(kOrganizationName);
    UseCNumbers();
}

}  // namespace skyrel

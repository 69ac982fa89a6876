// The start-up steps the desktop program and the headless station share, in their order.
#pragma once

#include <QStringList>

#include "app/endpoint/endpointserver.h"
#include "app/program/singleinstance.h"

namespace skyrel {

// Before any application object: takes the single-instance lock. When another copy runs it has been
// asked to come back (a desktop copy raises its window), and this one ends with status 0.
SingleInstance::Lock TakeSingleInstanceLock(SingleInstance& instance);

// Right after the application object is made and the termination signals are caught: the names that
// place the settings file, '.' as the decimal point whatever the user's regional settings (the rotator
// must always see it), and, while this copy holds the lock, the answering of a second copy's requests.
// Returns what could not be set up (a lock that cannot be made), for the user; the program runs on.
QStringList PrepareApplication(SingleInstance& instance, SingleInstance::Lock lock);

// A local server of the program (the restore socket, the endpoint) that stopped listening and listens
// again is logged as a warning, once a stop.
void LogListenerStops(SingleInstance& instance, EndpointServer& endpoint);

}  // namespace skyrel

// Program entry: one running copy per user, then the four windows in their fixed order and the event loop.
#include <QApplication>
#include <QIcon>

#include "app/appstate.h"
#include "app/endpointserver.h"
#include "app/numbertext.h"
#include "app/runtimepaths.h"
#include "app/settingsstore.h"
#include "app/singleinstance.h"
#include "app/systemclock.h"
#include "ui/emewindow.h"
#include "ui/mainwindow.h"
#include "ui/mapwindow.h"
#include "ui/setupdialog.h"
#include "ui/setupwiring.h"
#include "ui/widgets.h"

int main(int argc, char** argv) {
    using namespace skyrel;

    // A second copy creates no window and reads no setting: it asks the first to come back and leaves.
    SingleInstance instance(RuntimeDirectory());
    const SingleInstance::Lock lock = instance.acquire();
    if (lock == SingleInstance::Lock::AnotherCopyRuns) {
        instance.askRunningInstanceToRestore();
        return 0;
    }

    QApplication app(argc, argv);
    // Listening from here on, a second copy started while the windows are still being made is heard too;
    // its request is answered once the event loop runs.
    if (lock == SingleInstance::Lock::Ours) instance.listenForRestoreRequests();
    // What could not be set up at start: the program runs on without it, and the user is told once.
    QStringList startupProblems;
    if (lock == SingleInstance::Lock::Unavailable) startupProblems << instance.unavailableMessage();
    QApplication::setApplicationName(kApplicationName);
    QApplication::setOrganizationName(kOrganizationName);
    QApplication::setQuitOnLastWindowClosed(false);
    // The rotator must always see '.' as the decimal point, whatever the user's regional settings.
    UseCNumbers();
    InstallFontSubstitutes();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/skyrel-icon.png")));

    // Other programs can reach the endpoint from the start; it is withdrawn when the program ends.
    EndpointServer endpoint;
    if (!endpoint.listen()) startupProblems << endpoint.errorString();

    SystemClock clock;
    NativeSettingsStore store;
    AppState state;

    TSMForm1 mainWindow(state, clock, store);
    TSMForm2 setupDialog(state, clock, store);
    TSMForm3 mapWindow(state, store);
    TSMForm4 emeWindow(state.eme, store);
    mainWindow.setCompanions(&setupDialog, &mapWindow, &emeWindow);
    mainWindow.attachEndpoint(endpoint);
    ConnectSetupDialog(setupDialog, mainWindow, mapWindow);

    QObject::connect(&instance, &SingleInstance::restoreRequested, &mainWindow, &TSMForm1::restoreAndRaise);

    mainWindow.show();
    for (const QString& problem : startupProblems) {
        qWarning("Skyrel: %s", qPrintable(problem));
        ShowMessage(&mainWindow, QMessageBox::Warning, problem, QStringLiteral("StartupProblemBox"));
    }
    return app.exec();
}

#include "ui/desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QIcon>
#include <QUrl>

#include "app/program/headless.h"
#include "app/program/programstart.h"
#include "app/program/runtimepaths.h"
#include "app/station/station.h"
#include "app/station/systemclock.h"
#include "app/program/terminationsignals.h"
#include "app/web/webserver.h"
#include "ui/calibrationwindow.h"
#include "ui/emewindow.h"
#include "ui/mainwindow.h"
#include "ui/mapwindow.h"
#include "ui/plannerwindow.h"
#include "ui/radiodialog.h"
#include "ui/rotatordialog.h"
#include "ui/setupdialog.h"
#include "ui/setupwiring.h"
#include "ui/widgets.h"

namespace skyrel {
namespace {

void OpenWebPage(Station& station, QWidget* parent) {
    if (const WebServer* web = station.web()) {
        QDesktopServices::openUrl(QUrl(WebLoginUrl(web->settings())));
        return;
    }
    ShowMessage(parent, QMessageBox::Information,
                QStringLiteral("The web page is off. Set Enabled=True in the group [Web] of the settings file "
                               "and start the program again (man skyrel lists the keys)."),
                QStringLiteral("WebPageOffBox"));
}

// A menu item that shows a window and brings it to the front.
void ShowOnTrigger(QAction* item, QWidget& window) {
    QObject::connect(item, &QAction::triggered, &window, [&window] {
        window.show();
        window.raise();
    });
}

}  // namespace

int RunDesktop(char* programName, const CommandLine& command) {
    // A second copy creates no window and reads no setting: it asks the first to come back and leaves.
    SingleInstance instance(RuntimeDirectory());
    const SingleInstance::Lock lock = TakeSingleInstanceLock(instance);
    if (lock == SingleInstance::Lock::AnotherCopyRuns) return 0;

    // The program's own arguments were read already; the toolkit gets none, so none of its options acts.
    int argc = 1;
    char* argv[] = {programName, nullptr};
    QApplication app(argc, argv);
    // A signal ends the event loop without closing a window, so no window stores its position.
    TerminationSignals terminationSignals;
    // What could not be set up at start: the program runs on without it, and the user is told once.
    QStringList startupProblems = PrepareApplication(instance, lock);
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutes();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/skyrel-icon.png")));

    SystemClock clock;
    NativeSettingsStore store;
    Station station(clock, store);
    LogListenerStops(instance, station.endpoint());
    // Other programs can reach the endpoint from the start; it is withdrawn when the program ends.
    if (!station.listen()) startupProblems << station.endpoint().errorString();

    TSMForm1 mainWindow(station);
    TSMForm2 setupDialog(station.state(), clock, store);
    TSMForm3 mapWindow(station.state(), store);
    TSMForm4 emeWindow(station.eme(), store);
    mainWindow.setCompanions(&setupDialog, &mapWindow, &emeWindow);
    PlannerWindow plannerWindow(station.state().sky, station.state().settings.site, store);
    ShowOnTrigger(mainWindow.Planner1, plannerWindow);
    CalibrationWindow calibrationWindow(station.state().sky, station.state().settings.site, store);
    ShowOnTrigger(mainWindow.Calibration1, calibrationWindow);
    RotatorDialog rotatorDialog(store, station.state().settings);
    ShowOnTrigger(mainWindow.Rotator1, rotatorDialog);
    QObject::connect(mainWindow.WebPage1, &QAction::triggered, &mainWindow,
                     [&station, &mainWindow] { OpenWebPage(station, &mainWindow); });
    QObject::connect(&rotatorDialog, &RotatorDialog::saved, &station.tracker(), &Tracker::setHamlibSettings);
    RadioDialog radioDialog(store);
    QObject::connect(mainWindow.Radio1, &QAction::triggered, &radioDialog, [&radioDialog] {
        radioDialog.show();
        radioDialog.raise();
    });
    QObject::connect(&radioDialog, &RadioDialog::saved, &station, [&station, &mainWindow](const RadioSettings& options) {
        if (const std::optional<QString> refusal = station.radio().setSettings(options))
            ShowMessage(&mainWindow, QMessageBox::Warning, *refusal, QStringLiteral("RadioRefusedBox"));
    });
    QObject::connect(&station, &Station::radioRefused, &mainWindow, [&mainWindow](const QString& message) {
        ShowMessage(&mainWindow, QMessageBox::Warning, message, QStringLiteral("RadioRefusedBox"));
    });
    QObject::connect(&plannerWindow, &PlannerWindow::dxStationChosen, &station.radio(), &RadioFollower::setDxStation);
    QObject::connect(&station.radio(), &RadioFollower::statusChanged, &emeWindow, &TSMForm4::showRadio);
    ConnectSetupDialog(setupDialog, mainWindow, mapWindow);

    QObject::connect(&instance, &SingleInstance::restoreRequested, &mainWindow, &TSMForm1::restoreAndRaise);

    mainWindow.show();
    // The page serves the settings and site the main window has just loaded.
    startupProblems << station.startWeb();
    if (WebServer* web = station.web())
        QObject::connect(web, &WebServer::message, [](const QString& line) { LogLine(Severity::Warning, line); });
    for (const QString& problem : startupProblems) {
        LogLine(Severity::Warning, problem);
        ShowMessage(&mainWindow, QMessageBox::Warning, problem, QStringLiteral("StartupProblemBox"));
    }
    if (command.startTrack) station.choose(*command.startTrack);
    if (command.startRadio) station.startRadio(*command.startRadio);
    return app.exec();
}

}  // namespace skyrel

// The windows as a user tours them: which window stores its position when the program ends, captions and
// values whole in every state the panels take, the map back from being minimised and its hint while another
// window is active, a stored position whose title bar would be out of reach, and a click on the menu bar
// whose release lands on the opened menu.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include "app/settings/settings.h"
#include "app/settings/settingsstore.h"
#include "app/station/station.h"
#include "tests/support/fakeclock.h"
#include "ui/emewindow.h"
#include "ui/mainwindow.h"
#include "ui/mapwindow.h"
#include "ui/setupdialog.h"

namespace skyrel {
namespace {

class WindowTourTest : public ::testing::Test {
protected:
    // The fonts the program itself asks for, before any window is made.
    WindowTourTest() { InstallFontSubstitutes(); }

    test::FakeClock clock{2005, 9, 21, 17, 15, 0};
    MemorySettingsStore store;
    Station station{clock, store};
    AppState& state = station.state();
};

// Where a label draws its text, in its parent's coordinates.
QRect TextArea(const QLabel& label) {
    const auto* fitted = qobject_cast<const FittedLabel*>(&label);
    const QFontMetrics metrics(fitted ? fitted->shownFont() : label.font());
    const QSize size(metrics.horizontalAdvance(label.text()), metrics.height());
    return QStyle::alignedRect(label.layoutDirection(), label.alignment(), size, label.contentsRect())
        .translated(label.pos());
}

// Every text of `window` lies inside its own label and inside the label's panel, clear of the other texts.
void ExpectEveryTextShowsWhole(const QWidget& window, const std::string& state) {
    QList<const QLabel*> shown;
    for (const QLabel* label : window.findChildren<QLabel*>())
        if (label->isVisibleTo(&window) && !label->text().isEmpty()) shown.append(label);
    for (const QLabel* label : shown) {
        const QRect text = TextArea(*label);
        const std::string what = label->objectName().toStdString() + " \"" + label->text().toStdString() + "\" " + state;
        EXPECT_TRUE(label->geometry().contains(text)) << what;
        EXPECT_TRUE(label->parentWidget()->rect().contains(text)) << what;
        for (const QLabel* other : shown) {
            if (other != label && other->parentWidget() == label->parentWidget()) {
                EXPECT_FALSE(text.intersects(TextArea(*other))) << what << " runs into " << other->objectName().toStdString();
            }
        }
    }
}

TEST_F(WindowTourTest, EveryCaptionAndValueShowsWholeInEveryState) {
    ASSERT_EQ(QFontInfo(WindowFont()).family(), "Liberation Sans");
    struct Site {
        const char *latitude, *longitude, *name;
    };
    // The default site; one far east and south with the widest name of 16 capitals; the longest latitude
    // and longitude, where the Sun stays up or down all day at the solstices.
    const Site sites[] = {{"38.02", "-78.63", "Observer"},
                          {"-33.87", "151.21", "WWWWWWWWWWWWWWWW"},
                          {"-89.99", "-179.99", "MMMMMMMMMMMMMMMM"}};
    store.write(kOptionsGroup, "Com Port", "0");  // tracking goes to the endpoint
    clock.setUtcOffsetMinutes(-300);
    bool sawSetBeforeRise = false, sawUpOrDownAllDay = false;
    for (const Site& site : sites) {
        store.write(kOptionsGroup, "Observer Latitude", site.latitude);
        store.write(kOptionsGroup, "Observer Longitude", site.longitude);
        store.write(kOptionsGroup, "Observer Name", site.name);
        for (const int month : {6, 12}) {
            clock.setUtc(2005, month, 21, 23, 59, 30);
            TSMForm1 w(station);
            w.Timer1().stop();
            w.show();  // a label out of sight is fitted only when shown
            for (int zone = 0; zone < 2; ++zone, QTest::mouseClick(w.Label5, Qt::LeftButton))
                for (int unit = 0; unit < 2; ++unit, QTest::mouseClick(w.Label12, Qt::LeftButton))
                    for (int display = 0; display < 3; ++display, QTest::mouseClick(w.Label8, Qt::LeftButton)) {
                        ExpectEveryTextShowsWhole(w, std::string(site.name) + " month " + std::to_string(month) +
                                                         " zone " + std::to_string(zone) + " unit " +
                                                         std::to_string(unit) + " display " + std::to_string(display));
                        for (QLabel* first : {w.Label13, w.Label30})
                            sawSetBeforeRise |= first->text().startsWith("Set");
                        for (QLabel* time : {w.Label14, w.Label16, w.Label31, w.Label33})
                            sawUpOrDownAllDay |= time->text() == " ++++" || time->text() == " -----";
                    }
            for (QAction* mode : {w.Sun1, w.Park1}) {
                mode->trigger();
                w.Timer1Timer();
                ExpectEveryTextShowsWhole(w, std::string(site.name) + " tracking " + mode->text().toStdString());
            }
            TSMForm4 eme(state.eme, store);
            eme.show();
            ExpectEveryTextShowsWhole(eme, std::string(site.name) + " EME window");
        }
    }
    // The walk met the swapped rows and the all-day texts.
    EXPECT_TRUE(sawSetBeforeRise);
    EXPECT_TRUE(sawUpOrDownAllDay);
}

TEST_F(WindowTourTest, ExitStoresTheMainWindowsPositionOnlyNotThoseOfTheWindowsItCloses) {
    TSMForm1 main(station);
    TSMForm2 setup(state, clock, store);
    TSMForm3 map(state, store);
    TSMForm4 eme(state.eme, store);
    main.setCompanions(&setup, &map, &eme);
    main.show();
    main.move(300, 40);
    main.MapSetup1->trigger();
    main.Map1->trigger();
    main.EME1->trigger();
    for (QWidget* window : {static_cast<QWidget*>(&setup), static_cast<QWidget*>(&map), static_cast<QWidget*>(&eme)}) {
        window->move(window->pos() + QPoint(30, 50));
        ASSERT_TRUE(window->isVisible());
    }

    // Exit ends the event loop the program runs in; the watchdog ends a loop that Exit failed to end.
    QTimer::singleShot(0, main.Exit1, &QAction::trigger);
    QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0);

    EXPECT_EQ(LoadWindowPosition(store, 1), main.pos());
    for (int form : {2, 3, 4}) EXPECT_FALSE(HasStoredWindowPosition(store, form)) << "Form" << form;
}

TEST_F(WindowTourTest, MapComesBackFromMinimisedAndShowsItsHintWhileAnotherWindowIsActive) {
    TSMForm1 main(station);
    main.Timer1().stop();
    TSMForm3 map(state, store);
    main.setCompanions(nullptr, &map, nullptr);
    main.show();

    main.Map1->trigger();
    map.setWindowState(Qt::WindowMinimized);
    main.Map1->trigger();  // out of sight, so "Map" brings it back
    EXPECT_TRUE(map.isVisible());
    EXPECT_FALSE(map.isMinimized());
    main.Map1->trigger();
    EXPECT_FALSE(map.isVisible());
    map.show();
    map.setWindowState(Qt::WindowMinimized);
    map.hide();
    main.Map1->trigger();
    EXPECT_TRUE(map.isVisible());
    EXPECT_FALSE(map.isMinimized());

    // The pointer rests on the map, clear of the main window, while the main window is the active one.
    map.move(main.frameGeometry().right() + 40, 40);
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QTest::mouseMove(map.Image3, QPoint(100, 100));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QToolTip::isVisible(); }, 5000));
    EXPECT_EQ(QToolTip::text(), map.Image3->toolTip());
}

TEST_F(WindowTourTest, AStoredPlaceWhoseTitleBarIsOutOfReachOpensAtTheDefaultPlace) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const auto opensAt = [this](int form, QPoint stored) {
        SaveWindowPosition(store, form, stored);
        if (form == 3) return TSMForm3(state, store).pos();
        return TSMForm4(state.eme, store).pos();
    };
    // The top-left corner on the screen, but only a corner of the window with it.
    EXPECT_EQ(opensAt(3, screen.bottomRight() - QPoint(20, 20)), kDefaultWindowPosition);
    EXPECT_EQ(opensAt(4, screen.bottomRight() - QPoint(20, 20)), kDefaultWindowPosition);
    // The title bar above the screen, or all but its last few pixels left of it.
    EXPECT_EQ(opensAt(3, QPoint(100, screen.top() - 15)), kDefaultWindowPosition);
    EXPECT_EQ(opensAt(3, QPoint(screen.left() - 500, 100)), kDefaultWindowPosition);
    // A window mostly off the screen whose title bar can still be dragged stays where it was put.
    const QPoint reachable(screen.right() - 100, screen.bottom() - 40);
    EXPECT_EQ(opensAt(3, reachable), reachable);
    EXPECT_EQ(opensAt(4, QPoint(screen.left() - 150, 100)), QPoint(screen.left() - 150, 100));

    // The main window is placed by the system instead.
    const QPoint corner = screen.bottomRight() - QPoint(10, 10);
    SaveWindowPosition(store, 1, corner);
    TSMForm1 main(station);
    EXPECT_NE(main.pos(), corner);
    SaveWindowPosition(store, 1, QPoint(200, 100));
    TSMForm1 placed(station);
    EXPECT_EQ(placed.pos(), QPoint(200, 100));
}

TEST_F(WindowTourTest, APressAndReleaseOnTheMenuBarNeverChoosesAnItem) {
    TSMForm1 w(station);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QMenuBar* bar = w.menuBar();
    QMenu* menu = bar->actions().front()->menu();
    ASSERT_NE(menu, nullptr);
    QSignalSpy exits(w.Exit1, &QAction::triggered);

    // The button goes down on "Menu", the pointer trembles onto "Exit" right below and the button comes up.
    QTest::mousePress(bar, Qt::LeftButton, {}, bar->actionGeometry(bar->actions().front()).center());
    ASSERT_TRUE(menu->isVisible());
    const QPoint exit = menu->actionGeometry(w.Exit1).center();
    for (int tremble = 0; tremble < 8; ++tremble) {
        const QPoint at = exit + QPoint(tremble % 2, 0);
        QMouseEvent move(QEvent::MouseMove, at, menu->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(menu, &move);
    }
    QTest::mouseRelease(menu, Qt::LeftButton, {}, exit);
    EXPECT_EQ(exits.count(), 0);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(menu->isVisible());

    // A click on the item of the opened menu chooses it as always.
    QTest::mouseClick(menu, Qt::LeftButton, {}, exit);
    EXPECT_EQ(exits.count(), 1);
}

}  // namespace
}  // namespace skyrel

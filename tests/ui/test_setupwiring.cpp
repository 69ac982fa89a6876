// The setup dialog connected to the real main and map windows: a save re-applies the site, switches the
// rotator output between the local endpoint and a pseudo-terminal port at the speed just chosen, and the
// map is redrawn after Save and Cancel only while it is shown.
#include <gtest/gtest.h>

#include <poll.h>
#include <termios.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <memory>

#include "tests/support/fakeclock.h"
#include "tests/support/uitest.h"
#include "tests/support/pseudoterminal.h"
#include "ui/setupwiring.h"

namespace skyrel {
namespace {

using test::PseudoTerminal;

using test::Click;
using test::ClickListItem;
using test::kEasyTail;

// Whether a program holds the device of the pseudo-terminal open: the master hangs up while nobody does.
bool DeviceHeldOpen(const PseudoTerminal& pty) {
    pollfd p{pty.masterDescriptor(), 0, 0};
    ::poll(&p, 1, 0);
    return !(p.revents & POLLHUP);
}

// The output speed the program set on the device; the master reports the device's settings.
speed_t DeviceSpeed(const PseudoTerminal& pty) {
    termios settings{};
    ::tcgetattr(pty.masterDescriptor(), &settings);
    return ::cfgetospeed(&settings);
}

// The program's windows as it makes them, with the stored output on the local endpoint and serial port 3
// being a pseudo-terminal.
class SetupWiringTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.isOpen());
        store.write(kPortsGroup, QStringLiteral("3"), pty.devicePath());
        store.write(kOptionsGroup, QStringLiteral("Com Port"), QStringLiteral("0"));
        main = std::make_unique<TSMForm1>(station);
        setup = std::make_unique<TSMForm2>(state, clock, store);
        map = std::make_unique<TSMForm3>(state, store);
        main->setCompanions(setup.get(), map.get(), nullptr);
        ConnectSetupDialog(*setup, *main, *map);
        // The test runs the cycle itself.
        main->Timer1().stop();
    }

    test::FakeClock clock{2005, 9, 21, 17, 15, 0};
    MemorySettingsStore store;
    Station station{clock, store};
    AppState& state = station.state();
    PseudoTerminal pty;
    std::unique_ptr<TSMForm1> main;
    std::unique_ptr<TSMForm2> setup;
    std::unique_ptr<TSMForm3> map;
};

TEST_F(SetupWiringTest, SavingAPortNumberWhileParkedOpensThatPortAtTheNewSpeedAndDdeClosesIt) {
    main->Park1->trigger();
    ASSERT_TRUE(state.tracking.trackingActive);
    ASSERT_TRUE(state.tracking.ddeOutput);
    EXPECT_FALSE(DeviceHeldOpen(pty));

    main->MapSetup1->trigger();
    ASSERT_TRUE(setup->isVisible());
    ClickListItem(setup->ListBox1, 3);
    ClickListItem(setup->ListBox2, 3);
    setup->Edit15->setText(QStringLiteral("W3XYZ"));
    const int cycles = main->cycleCount();
    Click(setup->Button1);

    EXPECT_FALSE(setup->isVisible());
    EXPECT_EQ(main->Label1->text(), "W3XYZ");
    EXPECT_EQ(main->cycleCount(), cycles + 1);  // the one cycle of ApplySite
    EXPECT_TRUE(main->Timer1().isActive());
    main->Timer1().stop();
    EXPECT_FALSE(state.tracking.ddeOutput);
    EXPECT_TRUE(DeviceHeldOpen(pty));
    EXPECT_EQ(DeviceSpeed(pty), speed_t(B9600));
    clock.advance(1);
    main->Timer1Timer();
    EXPECT_EQ(pty.readBytes(45), "AZ0.0 EL0.0" + kEasyTail);

    main->MapSetup1->trigger();
    ClickListItem(setup->ListBox1, 0);
    Click(setup->Button1);
    EXPECT_TRUE(state.tracking.ddeOutput);
    EXPECT_FALSE(DeviceHeldOpen(pty));
    EXPECT_TRUE(state.tracking.trackingActive);
}

TEST_F(SetupWiringTest, APortThatWillNotOpenEndsTheProgramWithTheWholeSaveStored) {
    store.write(kPortsGroup, QStringLiteral("4"), pty.devicePath() + QStringLiteral("-missing"));
    main->Moon1->trigger();
    main->MapSetup1->trigger();
    ClickListItem(setup->ListBox1, 4);
    setup->Edit11->setText(QStringLiteral("1.5"));
    Click(setup->Button1);

    const auto* box = main->findChild<QMessageBox*>(QStringLiteral("PortFailureBox"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(store.read(kOptionsGroup, QStringLiteral("Com Port")), "4");
    EXPECT_EQ(store.read(kOptionsGroup, QStringLiteral("Static Offset El")), "1.5");
    EXPECT_EQ(store.read(kOptionsGroup, QStringLiteral("Output Format")), "EasyComm1");
}

TEST_F(SetupWiringTest, SaveAndCancelRedrawTheMapOnlyWhileItIsShown) {
    state.settings.sunSubPoint = true;
    main->Map1->trigger();
    ASSERT_TRUE(map->isVisible());
    const QImage drawn = map->overlay();

    // Three hours later the sub-Sun point has moved, but no cycle has drawn it yet (20:16:01 is not a
    // drawing second).
    clock.advance(3 * 3600 + 61);
    main->Timer1Timer();
    ASSERT_EQ(map->overlay(), drawn);
    main->MapSetup1->trigger();
    Click(setup->Button2);
    const QImage afterCancel = map->overlay();
    EXPECT_NE(afterCancel, drawn);

    // Night shading saved while the map is hidden: drawn only when the map is shown again.
    main->Map1->trigger();
    ASSERT_FALSE(map->isVisible());
    main->MapSetup1->trigger();
    Click(setup->CheckBox5);
    Click(setup->Button1);
    EXPECT_TRUE(state.settings.sunShadow);
    EXPECT_EQ(map->overlay(), afterCancel);

    main->Map1->trigger();
    const QImage shaded = map->overlay();
    main->MapSetup1->trigger();
    Click(setup->CheckBox5);
    Click(setup->Button1);
    EXPECT_FALSE(state.settings.sunShadow);
    EXPECT_NE(map->overlay(), shaded);
}

}  // namespace
}  // namespace skyrel

// The rotator output's faults as the main window shows them, on a real pseudo-terminal: an adapter that
// goes away makes the status box say the port is lost, in the warning colour, for as long as it stays
// away, and show the values again once lines flow. (A full device queue is the station's own affair:
// tests/app/station/test_station.cpp.)
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "app/station/station.h"
#include "tests/support/fakeclock.h"
#include "tests/support/pseudoterminal.h"
#include "tests/support/uitest.h"
#include "ui/mainwindow.h"

namespace skyrel {
namespace {

using test::PseudoTerminal;

const QByteArray kParkLine = "Park AZ:180.0 EL:0.0\r\n";

// Parking at azimuth 180 in the Nova format on port 1, which names `device`; the test runs the cycle.
class OutputFaultTest : public ::testing::Test {
protected:
    void Open(const QString& device, const QString& format = QStringLiteral("Nova")) {
        store.write(kPortsGroup, QStringLiteral("1"), device);
        store.write(kOptionsGroup, QStringLiteral("Com Port"), QStringLiteral("1"));
        store.write(kOptionsGroup, QStringLiteral("Output Format"), format);
        store.write(kOptionsGroup, QStringLiteral("Park Azm"), QStringLiteral("180"));
        window = std::make_unique<TSMForm1>(station);
        window->Timer1().stop();
        window->Park1Click();
    }

    void Tick() {
        clock.advance(1);
        window->Timer1Timer();
    }

    test::FakeClock clock{2005, 9, 21, 17, 15, 0};
    MemorySettingsStore store;
    Station station{clock, store};
    std::unique_ptr<TSMForm1> window;
};

TEST_F(OutputFaultTest, TheStatusBoxSaysThePortIsLostUntilLinesFlowAgain) {
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyRotator"));
    auto device = std::make_unique<PseudoTerminal>();
    ASSERT_TRUE(QFile::link(device->devicePath(), link));
    Open(link);
    Tick();
    ASSERT_EQ(device->readBytes(kParkLine.size()), kParkLine);
    const QColor normal = TextColour(*window->Label38);
    EXPECT_EQ(window->Label38->text(), "Az: 180.0");

    device.reset();
    QFile::remove(link);
    Tick();
    // The message names the device and gives the system's reason.
    ASSERT_EQ(test::VisibleBoxes("WriteErrorBox").size(), 1);
    EXPECT_TRUE(test::VisibleBoxes("WriteErrorBox").front()->text().startsWith(link + ": "))
        << test::VisibleBoxes("WriteErrorBox").front()->text().toStdString();
    for (int second = 0; second < 3; ++second) {
        Tick();
        EXPECT_EQ(window->Label38->text(), "Port lost, retrying") << second;
        EXPECT_EQ(window->Label39->text(), "") << second;
        EXPECT_NE(TextColour(*window->Label38), normal) << second;
        EXPECT_GE(window->Label38->width(), window->Label38->fontMetrics().horizontalAdvance("Port lost, retrying"));
    }
    EXPECT_EQ(window->GroupBox1->title(), "Parking Active");

    auto back = std::make_unique<PseudoTerminal>();
    ASSERT_TRUE(QFile::link(back->devicePath(), link));
    Tick();
    EXPECT_EQ(back->readBytes(kParkLine.size()), kParkLine);
    EXPECT_EQ(window->Label38->text(), "Az: 180.0");
    EXPECT_EQ(window->Label39->text(), "El: 0.0");
    EXPECT_EQ(TextColour(*window->Label38), normal);
}

// A format name typed by hand in other letters is none of the four: the message says so once, and the
// lines go out in the default format instead of nothing at all.
TEST_F(OutputFaultTest, AMistypedFormatIsNamedAndTheDefaultFormatIsSent) {
    PseudoTerminal device;
    Open(device.devicePath(), QStringLiteral("Easycomm1"));
    Tick();
    const QByteArray line = "AZ180.0 EL0.0 UP000000000 UUU DN000000000 DDD\r\n";
    EXPECT_EQ(device.readBytes(line.size()), line);
    ASSERT_EQ(test::VisibleBoxes("ErrorBox").size(), 1);
    EXPECT_EQ(test::VisibleBoxes("ErrorBox").front()->text(),
              "Output Format in memory: 'Easycomm1' is none of EasyComm1, Nova, EasyLHA, NovaLHA; using EasyComm1");
}

}  // namespace
}  // namespace skyrel

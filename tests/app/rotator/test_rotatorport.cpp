// The serial link on real pseudo-terminals: which device a port number names, the line settings the
// device gets, opening despite refused modem lines, and a device that goes away.
#include <gtest/gtest.h>
#include <termios.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/rotator/rotatorport.h"
#include "app/settings/settings.h"
#include "tests/support/pseudoterminal.h"

namespace skyrel {
namespace {

using test::PseudoTerminal;

TEST(PortDeviceNameTest, PortsGroupOverridesTheSerialDeviceOfTheNumber) {
    MemorySettingsStore store;
    store.write(kPortsGroup, QStringLiteral("3"), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(PortDeviceName(store, 3), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(PortDeviceName(store, 1), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(PortDeviceName(store, 2), QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(PortDeviceName(store, 12), QStringLiteral("/dev/ttyS11"));
    // The output choice "DDE" and numbers outside the list have no device.
    EXPECT_TRUE(PortDeviceName(store, 0).isEmpty());
    EXPECT_TRUE(PortDeviceName(store, 13).isEmpty());
    EXPECT_TRUE(PortDeviceName(store, -1).isEmpty());
}

TEST(PortDeviceNameTest, ReadFromTheStoredSettingsFile) {
    {
        NativeSettingsStore writer;
        writer.write(kPortsGroup, QStringLiteral("3"), QStringLiteral("/dev/ttyUSB0"));
        ASSERT_TRUE(writer.sync());
    }
    const NativeSettingsStore reader;
    EXPECT_EQ(PortDeviceName(reader, 3), QStringLiteral("/dev/ttyUSB0"));
    QFile file(reader.fileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("[Ports]\n3=/dev/ttyUSB0"));
    // The settings home is the test process's own; leave it as found for tests run in the same process.
    file.remove();
}

TEST(SerialRotatorPortTest, OpensAPseudoTerminalWithEightNoneOneAndNoFlowControl) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.isOpen());
    MemorySettingsStore store;
    store.write(kPortsGroup, QStringLiteral("1"), pty.devicePath());
    SerialRotatorPort port(store);
    // A pseudo-terminal refuses DTR and RTS: the port is open all the same.
    ASSERT_TRUE(port.open(1, BaudRateOfIndex(3))) << port.errorString().toStdString();
    EXPECT_TRUE(port.isOpen());

    termios t{};
    ASSERT_EQ(tcgetattr(pty.masterDescriptor(), &t), 0);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));
    // The pseudo-terminal forces 8 data bits and no parity whatever is asked: the port says what was asked.
    EXPECT_EQ(port.serialPort().dataBits(), QSerialPort::Data8);
    EXPECT_EQ(port.serialPort().parity(), QSerialPort::NoParity);
    EXPECT_EQ(port.serialPort().stopBits(), QSerialPort::OneStop);
    EXPECT_EQ(port.serialPort().flowControl(), QSerialPort::NoFlowControl);
    EXPECT_EQ(t.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);

    // Opening an open port leaves it as it is: the bytes still go to the same device.
    EXPECT_TRUE(port.open(2, 1200));
    // Bytes pass unchanged, CR LF included.
    ASSERT_TRUE(port.write("AZ1.0 EL2.0\r\n"));
    EXPECT_EQ(pty.readBytes(13), QByteArray("AZ1.0 EL2.0\r\n"));
    port.close();
    EXPECT_FALSE(port.isOpen());
    port.close();
    EXPECT_FALSE(port.isOpen());
}

TEST(SerialRotatorPortTest, MissingDeviceAndPortZeroFailToOpen) {
    QTemporaryDir dir;
    MemorySettingsStore store;
    store.write(kPortsGroup, QStringLiteral("1"), dir.filePath(QStringLiteral("ttyGone")));
    SerialRotatorPort port(store);
    EXPECT_FALSE(port.open(1, 1200));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.errorString().isEmpty());
    EXPECT_FALSE(port.open(0, 1200));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.write("x\r\n"));
}

TEST(SerialRotatorPortTest, WriteToADeviceThatWentAwayFailsAndClosesThePort) {
    auto pty = std::make_unique<PseudoTerminal>();
    MemorySettingsStore store;
    store.write(kPortsGroup, QStringLiteral("4"), pty->devicePath());
    SerialRotatorPort port(store);
    ASSERT_TRUE(port.open(4, 1200));
    ASSERT_TRUE(port.write("one\r\n"));
    EXPECT_EQ(pty->readBytes(5), QByteArray("one\r\n"));

    pty.reset();
    EXPECT_FALSE(port.write("two\r\n"));
    EXPECT_FALSE(port.errorString().isEmpty());
    EXPECT_FALSE(port.isOpen());

    // The same path now names another device, or none: the next open finds out.
    auto again = std::make_unique<PseudoTerminal>();
    store.write(kPortsGroup, QStringLiteral("4"), again->devicePath());
    ASSERT_TRUE(port.open(4, 1200));
    ASSERT_TRUE(port.write("three\r\n"));
    EXPECT_EQ(again->readBytes(7), QByteArray("three\r\n"));
}

TEST(SerialRotatorPortTest, BytesLeftInTheBackgroundOnAVanishedDeviceReportAtTheNextWrite) {
    auto pty = std::make_unique<PseudoTerminal>();
    const QString device = pty->devicePath();
    MemorySettingsStore store;
    store.write(kPortsGroup, QStringLiteral("1"), device);
    SerialRotatorPort port(store);
    ASSERT_TRUE(port.open(1, 1200));
    // More than the device queue takes while nobody reads: the rest waits in the port's own buffer.
    ASSERT_TRUE(port.write(QByteArray(256 * 1024, 'x')));
    pty.reset();
    // The background write fails on the event loop; the port lets go of the device (whose node then
    // goes away) rather than retrying in a loop.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !QFile::exists(device); }, 5000));
    EXPECT_TRUE(port.isOpen());
    EXPECT_FALSE(port.write("next\r\n"));
    EXPECT_FALSE(port.errorString().isEmpty());
    port.close();
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.open(1, 1200));
}

}  // namespace
}  // namespace skyrel

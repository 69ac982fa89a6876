// The program itself, on a virtual X display of the test's own, driven from the keyboard:
// - port 1 names a device that does not exist: Track -> Moon shows the message, Enter ends the program with
//   status 0 and the window position is not stored;
// - port 1 is one end of a socat pair that goes away while parking and comes back: one error box, not one a
//   second, and the lines come again on the new pair without a restart.
//
// The keys reach the program through the X server (xdotool), as a person's would; nothing in the program
// knows it is being tested and nothing dismisses the message for the test.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <memory>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "app/settings/settingsstore.h"
#include "tests/support/skyrelprocess.h"
#include "tests/support/testenv.h"

namespace skyrel {
namespace {

constexpr int kWaitMs = 20000;

// Xvfb on the first free display number, which it reports on its standard output (-displayfd).
class VirtualDisplay {
public:
    ~VirtualDisplay() {
        if (server_.state() != QProcess::NotRunning) {
            server_.terminate();
            server_.waitForFinished(kWaitMs);
        }
    }

    bool start() {
        server_.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                               QStringLiteral("-screen"), QStringLiteral("0"),
                                               QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                                               QStringLiteral("tcp")});
        if (!server_.waitForStarted(kWaitMs)) return false;
        while (!server_.canReadLine())
            if (!server_.waitForReadyRead(kWaitMs)) return false;
        name_ = QLatin1Char(':') + QString::fromLatin1(server_.readLine().trimmed());
        return name_.size() > 1;
    }

    QString name() const { return name_; }

    // The visible windows whose title is exactly `title`.
    QStringList visibleWindows(const QString& title) const {
        QString windows;
        xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                 QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$')},
                &windows);
        return windows.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // The first of them; empty while there is none.
    QString visibleWindow(const QString& title) const { return visibleWindows(title).value(0); }

    bool focus(const QString& window) const {
        return xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    }
    // Types `keys` into the focused window, as from the keyboard.
    bool type(const QStringList& keys) const {
        return xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("50")} + keys);
    }

private:
    bool xdotool(const QStringList& arguments, QString* output = nullptr) const {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), name_);
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral("xdotool"), arguments);
        if (!tool.waitForFinished(kWaitMs) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
            return false;
        if (output) *output = QString::fromLatin1(tool.readAllStandardOutput()).trimmed();
        return true;
    }

    QProcess server_;
    QString name_;
};

bool OnPath(const QString& program) { return !QStandardPaths::findExecutable(program).isEmpty(); }

class TrackingProcess : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(OnPath(QStringLiteral("Xvfb")) && OnPath(QStringLiteral("xdotool")) &&
                    OnPath(QStringLiteral("socat")))
            << "these tests need Xvfb, xdotool and socat (make deps installs them)";
        // Only the settings each test writes: nothing left by another test run in the same process.
        QFile::remove(SettingsFile());
    }

    void TearDown() override {
        test::StopSkyrel(program);
        QFile::remove(SettingsFile());
    }

    static QString SettingsFile() { return test::ConfigHome() + QStringLiteral("/Brenlo Programs/Skyrel.conf"); }

    // Starts the program on a display of its own, with the test's settings home and runtime directory,
    // and chooses `item` of its Track menu from the keyboard.
    bool StartAndChooseFromTrackMenu(int item) {
        if (!display.start()) return false;
        QProcessEnvironment env = test::SkyrelEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display.name());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        // The keyboard path through the menu bar (Alt, arrows) is the Fusion style's.
        env.insert(QStringLiteral("QT_STYLE_OVERRIDE"), QStringLiteral("Fusion"));
        env.remove(QStringLiteral("QT_QPA_PLATFORMTHEME"));
        if (!test::StartSkyrel(program, env)) return false;
        // Xvfb may drop a connection that arrives while another one is set up, and a program that cannot
        // reach its display aborts: talk to the display only once the program answers on its own socket,
        // which it opens right after it has connected to its display.
        if (!QTest::qWaitFor(test::SkyrelAnswers, kWaitMs)) return false;
        QString mainWindow;
        if (!QTest::qWaitFor(
                [&] { return !(mainWindow = display.visibleWindow(QStringLiteral("Skyrel / Brenlo"))).isEmpty(); },
                kWaitMs) ||
            !display.focus(mainWindow))
            return false;
        // Menu bar, then "Menu" -> "About" -> "Track", open it, down to the item, choose it.
        QStringList keys{QStringLiteral("alt"), QStringLiteral("Right"), QStringLiteral("Right")};
        keys += QStringList(item + 1, QStringLiteral("Down"));
        keys << QStringLiteral("Return");
        return display.type(keys);
    }

    // The program's message boxes on the screen (a menu that is open has no title for this search).
    QStringList messageBoxes() const { return display.visibleWindows(QStringLiteral("Skyrel")); }

    VirtualDisplay display;
    QProcess program;
};

TEST_F(TrackingProcess, APortThatWillNotOpenEndsTheProgramWithStatusZeroAfterTheMessage) {
    QTemporaryDir devices;
    {
        NativeSettingsStore settings;
        settings.write(kOptionsGroup, QStringLiteral("Com Port"), QStringLiteral("1"));
        settings.write(kPortsGroup, QStringLiteral("1"), devices.filePath(QStringLiteral("ttyUSB0")));
        ASSERT_TRUE(settings.sync());
    }
    ASSERT_TRUE(StartAndChooseFromTrackMenu(1));

    ASSERT_TRUE(QTest::qWaitFor([&] { return messageBoxes().size() == 1; }, kWaitMs));
    // The program waits for the operator.
    EXPECT_EQ(program.state(), QProcess::Running);
    ASSERT_TRUE(display.focus(messageBoxes().front()));
    ASSERT_TRUE(display.type({QStringLiteral("Return")}));

    ASSERT_TRUE(program.waitForFinished(kWaitMs));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    QFile file(SettingsFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("Form1"));
}

// A linked pair of pseudo-terminals made by socat: the program writes to `programEnd`, the test reads
// `readerEnd`. Stopping socat removes both links, as unplugging removes an adapter's device.
class SocatPair {
public:
    SocatPair(QString programEnd, QString readerEnd)
        : programEnd_(std::move(programEnd)), readerEnd_(std::move(readerEnd)) {}
    ~SocatPair() { stop(); }

    bool start() {
        socat_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        socat_.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + programEnd_,
                                               QStringLiteral("pty,raw,echo=0,link=") + readerEnd_});
        if (!socat_.waitForStarted(kWaitMs)) return false;
        if (!QTest::qWaitFor([this] { return QFile::exists(programEnd_) && QFile::exists(readerEnd_); }, kWaitMs))
            return false;
        reader_ = ::open(QFile::encodeName(readerEnd_).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        return reader_ >= 0;
    }

    void stop() {
        if (reader_ >= 0) ::close(reader_);
        reader_ = -1;
        if (socat_.state() != QProcess::NotRunning) {
            socat_.terminate();
            socat_.waitForFinished(kWaitMs);
        }
    }

    // The next whole line (up to CR LF) that arrives within the wait; empty when none came.
    QByteArray readLine() {
        for (;;) {
            const qsizetype end = pending_.indexOf("\r\n");
            if (end >= 0) {
                const QByteArray line = pending_.left(end + 2);
                pending_.remove(0, end + 2);
                return line;
            }
            pollfd p{reader_, POLLIN, 0};
            if (::poll(&p, 1, kWaitMs) <= 0) return {};
            char buffer[256];
            const ssize_t n = ::read(reader_, buffer, sizeof buffer);
            if (n <= 0) return {};
            pending_.append(buffer, n);
        }
    }

private:
    QString programEnd_, readerEnd_;
    QProcess socat_;
    int reader_ = -1;
    QByteArray pending_;
};

TEST_F(TrackingProcess, AnAdapterThatGoesAwayGivesOneErrorBoxAndTheLinesComeBackWithIt) {
    QTemporaryDir devices;
    const QString programEnd = devices.filePath(QStringLiteral("ttyA"));
    const QString readerEnd = devices.filePath(QStringLiteral("ttyB"));
    {
        NativeSettingsStore settings;
        settings.write(kOptionsGroup, QStringLiteral("Com Port"), QStringLiteral("1"));
        settings.write(kOptionsGroup, QStringLiteral("Output Format"), QStringLiteral("Nova"));
        settings.write(kOptionsGroup, QStringLiteral("Park Azm"), QStringLiteral("180"));
        settings.write(kPortsGroup, QStringLiteral("1"), programEnd);
        ASSERT_TRUE(settings.sync());
    }
    auto adapter = std::make_unique<SocatPair>(programEnd, readerEnd);
    ASSERT_TRUE(adapter->start());

    ASSERT_TRUE(StartAndChooseFromTrackMenu(2));
    EXPECT_EQ(adapter->readLine(), "Park AZ:180.0 EL:0.0\r\n");

    adapter->stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return messageBoxes().size() == 1; }, kWaitMs));
    // Two more seconds of ticks with the adapter away: still the one box, and the program runs on.
    QThread::msleep(2200);
    EXPECT_EQ(messageBoxes().size(), 1);
    EXPECT_EQ(program.state(), QProcess::Running);

    adapter = std::make_unique<SocatPair>(programEnd, readerEnd);
    ASSERT_TRUE(adapter->start());
    EXPECT_EQ(adapter->readLine(), "Park AZ:180.0 EL:0.0\r\n");
    EXPECT_EQ(messageBoxes().size(), 1);

}

}  // namespace
}  // namespace skyrel

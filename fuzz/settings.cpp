// Fuzz target: the settings loader and what the station does with what it loaded. The input is the
// settings file's bytes; it is loaded as the program loads it at start-up: the options, the four windows'
// positions and the twelve ports' devices. Then a station loads the same file, applies its site (which
// searches the day) and tracks the Moon for two cycles onto a port in memory.
// Invariants: every value in effect is its built-in value or within its allowed range: finite numbers,
// a manual clock offset within 24 hours, a speed from the baud list, a known feed, a window position
// stored whole or defaulted where it is missing, a device for each port 1..12 and none for any other number;
// the rotator's and the page's groups likewise (a step and limits in range, a range of seconds that parses or
// none, a port to listen on); and every pointing line the station writes holds finite numbers. A site that makes the day's search or
// a cycle run on without end is a finding of the run's time limit.
#include <QFile>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "app/radio/radiosettings.h"
#include "app/rotator/hamlibsettings.h"
#include "app/rotator/rotatorport.h"
#include "app/settings/settings.h"
#include "app/settings/settingsstore.h"
#include "app/station/station.h"
#include "app/web/websettings.h"
#include "fuzz/fuzzsupport.h"
#include "tests/support/fakeclock.h"
#include "tests/support/fakerotatorport.h"

namespace skyrel::fuzz {
namespace {

constexpr double kMaxClockOffsetHours = 24;
// The baud list: 1200 x 2^index for index 0..6.
constexpr int kBaudListSize = 7;
constexpr int kFirstPort = 1, kLastPort = 12;
constexpr int kWindowCount = 4;

bool InBaudList(int rate) {
    for (int index = 0; index < kBaudListSize; ++index)
        if (rate == BaudRateOfIndex(index)) return true;
    return false;
}

void CheckValuesInEffect(const Settings& s) {
    for (const double value : {s.site.latitude, s.site.longitude, s.site.height, s.clockOffset})
        Check(std::isfinite(value), "the site and the clock offset are finite numbers");
    Check(std::fabs(s.clockOffset) <= kMaxClockOffsetHours, "the clock offset lies within 24 hours");
    Check(InBaudList(s.baudRate), "the speed is one of the baud list's");
    for (int i = 0; i < 4; ++i)
        Check(std::isfinite(s.offsetAz[i]) && std::isfinite(s.offsetEl[i]), "the offsets are finite numbers");
    Check(std::isfinite(s.parkAz) && std::isfinite(s.parkEl), "the park position is finite");
    Check(s.activeFeed == Feed::None || s.activeFeed == Feed::L || s.activeFeed == Feed::S || s.activeFeed == Feed::X,
          "the active feed is one of the four");
    for (const QString& caption : s.feedCaption) Check(!caption.isEmpty(), "every feed box has a caption");
}

void CheckGroupValuesInEffect(const SettingsStore& store) {
    OptionReader hamlibReader(store, kHamlibGroup);
    const HamlibSettings rotator = ReadHamlibSettings(hamlibReader);
    Check(rotator.step >= 0 && rotator.step <= kRotatorStepRange.highest, "the rotator's step lies in its range");
    Check(rotator.moveSeconds.isEmpty() || ParseMoveSeconds(rotator.moveSeconds),
          "the move seconds are a range of seconds or none");
    for (const std::optional<double>& limit :
         {rotator.minAzimuth, rotator.maxAzimuth, rotator.minElevation, rotator.maxElevation})
        Check(!limit || std::fabs(*limit) <= kRotatorLimitRange.highest, "a limit is the rotator's own or in range");
    Check(rotator.speed >= 0, "the rotator's speed is no negative number");
    OptionReader webReader(store, kWebGroup);
    Check(ReadWebSettings(webReader).port != 0, "the page has a port to listen on");
}

// The station as the program starts it from this file: load, apply the site, then track the Moon for two
// cycles. Its lines go to the port in memory or to the endpoint's item, as the file's port says.
void CheckStationRun(NativeSettingsStore& store, const test::FakeClock& clock) {
    // The Hamlib rotator and radio stay off: an input must not open this machine's devices or reach the
    // network (the rotator's replies have a target of their own).
    SaveHamlibSettings(store, HamlibSettings{});
    SaveRadioSettings(store, RadioSettings{});
    test::FakeRotatorPort port;
    Station station(clock, store, port);
    station.loadSettings();
    station.applySite();
    station.choose(TrackMode::Moon);
    station.tick();
    station.tick();
    QByteArrayList lines = port.lines;
    lines.append(station.endpoint().item().textForm());
    for (const QByteArray& line : lines)
        Check(!line.contains("nan") && !line.contains("inf"), "a pointing line holds finite numbers");
}

}  // namespace
}  // namespace skyrel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace skyrel;
    using namespace skyrel::fuzz;
    // A new file name each time: the settings object caches a file it has read by its name and time stamp.
    static int serial = 0;
    const QString fileName = PrivateDirectory() + QStringLiteral("/config/Skyrel-%1.conf").arg(++serial);
    {
        QFile file(fileName);
        Check(file.open(QIODevice::WriteOnly), "the settings file can be written");
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    EnsureApplication();
    {
        NativeSettingsStore store(fileName);
        const test::FakeClock clock(2026, 12, 7, 10, 0, 0, 60);
        Settings settings;
        LoadSettings(store, clock, settings);
        CheckValuesInEffect(settings);
        for (int form = 1; form <= kWindowCount; ++form) {
            const QPoint position = LoadWindowPosition(store, form);
            if (HasStoredWindowPosition(store, form)) continue;
            Check(position.x() == kDefaultWindowPosition.x() || position.y() == kDefaultWindowPosition.y(),
                  "a window with half a position keeps the default for the other half");
        }
        for (int port = kFirstPort - 1; port <= kLastPort + 1; ++port) {
            const bool known = port >= kFirstPort && port <= kLastPort;
            Check(PortDeviceName(store, port).isEmpty() != known, "ports 1..12 have a device, no other number has");
        }
        CheckGroupValuesInEffect(store);
        CheckStationRun(store, clock);
    }
    QFile::remove(fileName);
    return 0;
}

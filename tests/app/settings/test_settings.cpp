// Loading the options: defaults, the exact texts that select each choice, conversion failures, and the
// native store read back by a fresh object as a restarted program would; the radio's, the rotator's and
// the web page's groups likewise.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <limits>

#include "app/radio/radiosettings.h"
#include "app/rotator/hamlibsettings.h"
#include "app/settings/calibrationsettings.h"
#include "app/settings/plannersettings.h"
#include "app/settings/settings.h"
#include "app/settings/settingsstore.h"
#include "app/web/websettings.h"
#include "tests/support/fakeclock.h"
#include "tests/support/testenv.h"

namespace skyrel {
namespace {

void Store(SettingsStore& store, const QString& name, const QString& value) {
    store.write(kOptionsGroup, name, value);
}

TEST(LoadSettings, EmptyStoreGivesEveryDefault) {
    MemorySettingsStore store;
    const test::FakeClock clock(2005, 9, 21, 17, 15, 0, -300);
    Settings s;
    const LoadOutcome outcome = LoadSettings(store, clock, s);
    EXPECT_FALSE(outcome.error);
    EXPECT_DOUBLE_EQ(s.site.latitude, 38.02);
    EXPECT_DOUBLE_EQ(s.site.longitude, -78.63);
    EXPECT_DOUBLE_EQ(s.site.height, 100);
    EXPECT_EQ(s.site.name, "Observer");
    EXPECT_TRUE(s.autoTime);
    EXPECT_DOUBLE_EQ(s.clockOffset, -5.0);
    EXPECT_FALSE(s.sunShadow || s.moonShadow || s.sunHorizon || s.moonHorizon || s.sunSubPoint || s.moonSubPoint);
    EXPECT_EQ(s.comPort, 1);
    EXPECT_EQ(s.baudRate, 1200);
    EXPECT_EQ(s.parkAz, 0);
    EXPECT_EQ(s.parkEl, 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(s.offsetAz[i], 0);
        EXPECT_EQ(s.offsetEl[i], 0);
    }
    EXPECT_EQ(s.activeFeed, Feed::L);
    EXPECT_EQ(s.outputFormat, "EasyComm1");
    EXPECT_EQ(s.feedCaption, kBuiltInFeedCaptions);
    EXPECT_EQ(s.site.ephemeris, nav::Ephemeris::Standard);
    EXPECT_EQ(s.site.dut1Seconds, 0);
    EXPECT_EQ(s.source, nav::RadioSource::CasA);
    for (int form = 1; form <= 4; ++form) EXPECT_EQ(LoadWindowPosition(store, form), QPoint(20, 20));
}

TEST(LoadSettings, OnlyTheExactTextFalseSelectsTheManualOffset) {
    const test::FakeClock clock(2005, 9, 21, 17, 15, 0, 330);
    {
        MemorySettingsStore store;
        Store(store, "Auto Time", "False");
        Store(store, "TimeOff", "3.0");
        Settings s;
        LoadSettings(store, clock, s);
        EXPECT_TRUE(s.autoTime);
        EXPECT_DOUBLE_EQ(s.clockOffset, 5.5);
    }
    {
        MemorySettingsStore store;
        Store(store, "Auto Time", "false");
        Store(store, "TimeOff", "-4.5");
        Settings s;
        LoadSettings(store, clock, s);
        EXPECT_FALSE(s.autoTime);
        EXPECT_DOUBLE_EQ(s.clockOffset, -4.5);
    }
    {
        MemorySettingsStore store;
        Store(store, "Auto Time", "false");
        Settings s;
        LoadSettings(store, clock, s);
        EXPECT_FALSE(s.autoTime);
        EXPECT_DOUBLE_EQ(s.clockOffset, 0);
    }
}

TEST(LoadSettings, FlagsFeedsPortsAndNamesReadAsStored) {
    MemorySettingsStore store;
    Store(store, "Sun Shadow", "TRUE");
    Store(store, "Moon Shadow", "true");
    Store(store, "Active Feed", "s");
    Store(store, "Com Port", "0");
    Store(store, "Baud Rate", "3");
    Store(store, "Observer Name", "ABCDEFGHIJKLMNOPQRST");
    Store(store, "Output Format", "NovaLHA");
    Store(store, "Offset 2", "23 cm dish feed");
    const test::FakeClock clock;
    Settings s;
    LoadSettings(store, clock, s);
    EXPECT_FALSE(s.sunShadow);
    EXPECT_TRUE(s.moonShadow);
    EXPECT_EQ(s.activeFeed, Feed::L);
    EXPECT_EQ(s.comPort, 0);
    EXPECT_EQ(s.baudRate, 9600);
    EXPECT_EQ(s.site.name, "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(s.outputFormat, "NovaLHA");
    EXPECT_EQ(s.feedCaption[0], kBuiltInFeedCaptions[0]);
    EXPECT_EQ(s.feedCaption[1], "23 cm dish feed");

    Store(store, "Baud Rate", "6");
    Store(store, "Active Feed", "X");
    LoadSettings(store, clock, s);
    EXPECT_EQ(s.baudRate, 76800);
    EXPECT_EQ(s.activeFeed, Feed::X);

    Store(store, "Active Feed", "None");
    LoadSettings(store, clock, s);
    EXPECT_EQ(s.activeFeed, Feed::None);
}

// A whole options group of good values, none of them a default.
void StoreGoodOptions(SettingsStore& store) {
    const QList<std::pair<QString, QString>> options{
        {"Observer Latitude", "51.5"}, {"Observer Longitude", "-0.12"}, {"Observer Height", "35"},
        {"Observer Name", "G4ABC"},    {"Auto Time", "false"},          {"TimeOff", "2"},
        {"Com Port", "3"},             {"Baud Rate", "2"},              {"Park Azm", "180"},
        {"Park Elev", "10"},           {"S Offset Az", "1.5"},          {"Static Offset El", "-0.5"},
        {"Active Feed", "S"},          {"Output Format", "Nova"},       {"DUT1", "0.25"},
        {"Source", "taua"}};
    for (const auto& [name, value] : options) Store(store, name, value);
}

// Every value the load fills, as text, so that two loads compare value by value.
QStringList Fields(const Settings& s) {
    QStringList fields{QString::number(s.site.latitude), QString::number(s.site.longitude),
                       QString::number(s.site.height),   QString::fromStdString(s.site.name),
                       QString::number(s.clockOffset),   QString::number(s.comPort),
                       QString::number(s.baudRate),      QString::number(s.parkAz),
                       QString::number(s.parkEl),        FeedText(s.activeFeed),
                       s.outputFormat,                   QString::number(s.site.dut1Seconds),
                       SourceKey(s.source)};
    for (int i = 0; i < 4; ++i) fields << QString::number(s.offsetAz[i]) << QString::number(s.offsetEl[i]);
    return fields;
}

// A stored value that fails is named with its file and replaced by its default; every value after it is
// read as stored. The keys are in the order of the load: the first, ones in the middle, the last.
TEST(LoadSettings, EveryBadValueIsNamedAndHoldsItsDefaultWhileTheRestIsRead) {
    struct BadValue {
        const char* name;
        const char* text;
        const char* why;
        const char* defaultText;
        void (*holdsDefault)(Settings&);
    };
    const BadValue cases[] = {
        {"Observer Latitude", "30,5", "'30,5' is not a valid floating point value", "38.02",
         [](Settings& s) { s.site.latitude = 38.02; }},
        {"Observer Latitude", "1000", "'1000' is out of range: the latitude must be from -90 to 90 degrees", "38.02",
         [](Settings& s) { s.site.latitude = 38.02; }},
        {"Observer Longitude", "1e10",
         "'1e10' is out of range: the longitude must be from -180 to 180 degrees", "-78.63",
         [](Settings& s) { s.site.longitude = -78.63; }},
        {"Observer Height", "1e300", "'1e300' is out of range: the height must be from -500 to 20000 m", "100",
         [](Settings& s) { s.site.height = 100; }},
        {"TimeOff", "1e12", "'1e12' is out of range: the clock offset must be from -24 to 24 hours", "0",
         [](Settings& s) { s.clockOffset = 0; }},
        {"Com Port", "COM3", "'COM3' is not a valid integer value", "1", [](Settings& s) { s.comPort = 1; }},
        {"Baud Rate", "abc", "'abc' is not a valid integer value", "0", [](Settings& s) { s.baudRate = 1200; }},
        {"Park Azm", "abc", "'abc' is not a valid floating point value", "0", [](Settings& s) { s.parkAz = 0; }},
        // A line break typed into the value stays out of the message, which is one line a key.
        {"Park Elev", "1\n2", "'1\\x0A2' is not a valid floating point value", "0", [](Settings& s) { s.parkEl = 0; }},
        {"Static Offset El", "inf", "'inf' is not a valid floating point value", "0",
         [](Settings& s) { s.offsetEl[kStaticOffset] = 0; }},
        {"Output Format", "Easycomm1", "'Easycomm1' is none of EasyComm1, Nova, EasyLHA, NovaLHA", "EasyComm1",
         [](Settings& s) { s.outputFormat = "EasyComm1"; }},
        {"DUT1", "0.95", "'0.95' is out of range: DUT1 must be from -0.9 to 0.9 s", "0",
         [](Settings& s) { s.site.dut1Seconds = 0; }},
        {"Source", "Cas A", "'Cas A' is none of casa, cyga, taua, vira", "casa",
         [](Settings& s) { s.source = nav::RadioSource::CasA; }},
    };
    const test::FakeClock clock;
    MemorySettingsStore good;
    StoreGoodOptions(good);
    Settings stored;
    ASSERT_FALSE(LoadSettings(good, clock, stored).error);

    MemorySettingsStore allBad;
    StoreGoodOptions(allBad);
    Settings allDefaults = stored;
    QStringList allMessages;
    for (const BadValue& bad : cases) {
        MemorySettingsStore store;
        StoreGoodOptions(store);
        Store(store, bad.name, bad.text);
        Settings s;
        const LoadOutcome outcome = LoadSettings(store, clock, s);
        const QString message = QStringLiteral("%1 in memory: %2; using %3").arg(bad.name, bad.why, bad.defaultText);
        EXPECT_EQ(outcome.error.value_or(""), message);
        Settings expected = stored;
        bad.holdsDefault(expected);
        EXPECT_EQ(Fields(s), Fields(expected)) << bad.name;

        Store(allBad, bad.name, bad.text);
        bad.holdsDefault(allDefaults);
        if (!allMessages.isEmpty() && allMessages.last().startsWith(bad.name)) allMessages.removeLast();
        allMessages << message;
    }
    // All of them at once: one message, a line per key in the order of the load.
    Settings s;
    EXPECT_EQ(LoadSettings(allBad, clock, s).error.value_or(""), allMessages.join('\n'));
    EXPECT_EQ(Fields(s), Fields(allDefaults));
}

// The calibration group: a saved group reads back value for value; a bad stored value is named with its
// default while the rest is read; the window's form refuses its first bad box and changes nothing then.
TEST(CalibrationSettings, RoundTripRefusalsAndTheForm) {
    MemorySettingsStore store;
    CalibrationSettings saved;
    saved.dish = {2.4, 0.6};
    saved.moonBrightnessKelvin = 220;
    saved.solarFlux = {{2800, 121.5}, {1415, 80}};
    saved.fluxDate = QStringLiteral("2026-12-07");
    saved.measuredYDb[2] = 11.5;
    SaveCalibrationSettings(store, saved);
    const CalibrationLoad back = LoadCalibrationSettings(store);
    EXPECT_FALSE(back.refusals);
    EXPECT_EQ(back.settings.dish.diameter, 2.4);
    EXPECT_EQ(back.settings.dish.efficiency, 0.6);
    EXPECT_EQ(back.settings.moonBrightnessKelvin, 220);
    ASSERT_EQ(back.settings.solarFlux.size(), 2u);
    EXPECT_EQ(back.settings.solarFlux[0].sfu, 121.5);
    EXPECT_EQ(back.settings.fluxDate, QStringLiteral("2026-12-07"));
    EXPECT_EQ(back.settings.measuredYDb[2], 11.5);
    EXPECT_FALSE(back.settings.measuredYDb[0]);

    const struct {
        const char* name;
        const char* text;
        const char* message;
    } cases[] = {
        {"Dish Diameter", "0",
         "Calibration/Dish Diameter in memory: '0' is out of range: the dish diameter must be from 0.3 to 100 m; "
         "using 3"},
        {"Efficiency", "55%", "Calibration/Efficiency in memory: '55%' is not a valid floating point value; using 0.55"},
        {"Solar Flux", "2800;120",
         "Calibration/Solar Flux in memory: '2800;120' is not MHz:sfu with two positive numbers; using no readings"},
        {"Flux Date", "07.12.2026",
         "Calibration/Flux Date in memory: '07.12.2026' is no date of the form YYYY-MM-DD; using no date"},
        {"Measured Y 1296", "-3",
         "Calibration/Measured Y 1296 in memory: '-3' is out of range: the measured Y-factor must be from 0 to 40 dB; "
         "using none"},
    };
    for (const auto& bad : cases) {
        MemorySettingsStore one;
        SaveCalibrationSettings(one, saved);
        one.write(kCalibrationGroup, QLatin1String(bad.name), QLatin1String(bad.text));
        const CalibrationLoad load = LoadCalibrationSettings(one);
        EXPECT_EQ(load.refusals.value_or("").toStdString(), bad.message);
        // The value after the refused one is still read.
        EXPECT_EQ(load.settings.moonBrightnessKelvin, 220) << bad.name;
    }

    CalibrationSettings edited = saved;
    CalibrationForm form = FormOfCalibration(saved);
    EXPECT_EQ(form.solarFlux, QStringLiteral("2800:121.5,1415:80"));
    form.diameter = QStringLiteral("5");
    form.measuredY[2] = QString();
    form.measuredY[4] = QStringLiteral("45");
    EXPECT_EQ(ReadCalibrationForm(form, edited).value_or(""),
              QStringLiteral("the measured Y-factor at 10368 MHz: '45' is out of range: the measured Y-factor must be "
                             "from 0 to 40 dB"));
    EXPECT_EQ(edited.dish.diameter, 2.4);
    form.measuredY[4] = QStringLiteral("6.5");
    EXPECT_FALSE(ReadCalibrationForm(form, edited));
    EXPECT_EQ(edited.dish.diameter, 5);
    EXPECT_FALSE(edited.measuredYDb[2]);
    EXPECT_EQ(edited.measuredYDb[4], 6.5);
}

TEST(LoadSettings, EphemerisReadsStandardUnlessPreciseAndDut1OutOfRangeIsZeroWithTheMessage) {
    const test::FakeClock clock;
    const auto load = [&clock](const QString& ephemeris, const QString& dut1) {
        MemorySettingsStore store;
        Store(store, "Output Format", "Nova");
        Store(store, "Ephemeris", ephemeris);
        Store(store, "DUT1", dut1);
        Settings s;
        const LoadOutcome outcome = LoadSettings(store, clock, s);
        EXPECT_EQ(s.outputFormat, "Nova");  // a bad DUT1 costs nothing else
        return std::pair{s.site, outcome.error};
    };
    auto [site, error] = load("Precise", "-0.9");
    EXPECT_EQ(site.ephemeris, nav::Ephemeris::Precise);
    EXPECT_DOUBLE_EQ(site.dut1Seconds, -0.9);
    EXPECT_FALSE(error);
    // Another version's word, or the right word in other letters, is Standard, and no message.
    for (const char* other : {"precise", "Fast", " Precise"}) {
        std::tie(site, error) = load(other, "0.25");
        EXPECT_EQ(site.ephemeris, nav::Ephemeris::Standard) << other;
        EXPECT_DOUBLE_EQ(site.dut1Seconds, 0.25);
        EXPECT_FALSE(error) << other;
    }
    for (const char* bad : {"0.95", "-1", "abc", "0,3"}) {
        std::tie(site, error) = load("Precise", bad);
        EXPECT_EQ(site.dut1Seconds, 0) << bad;
        EXPECT_TRUE(error.value_or("").startsWith(QStringLiteral("DUT1 in memory: '%1' is ").arg(bad)))
            << error.value_or("").toStdString();
        EXPECT_EQ(site.ephemeris, nav::Ephemeris::Precise);
    }
}

TEST(BaudRateOfIndex, DoublesFrom1200AndNeverOverflows) {
    EXPECT_EQ(BaudRateOfIndex(0), 1200);
    EXPECT_EQ(BaudRateOfIndex(6), 76800);
    EXPECT_EQ(BaudRateOfIndex(7), 153600);  // indexes beyond the list are not refused
    EXPECT_EQ(BaudRateOfIndex(40), std::numeric_limits<int>::max());
}

TEST(WindowPositions, TextThatIsNotAnIntegerCountsAsTwenty) {
    MemorySettingsStore store;
    store.write(kPositionsGroup, "Form3.Top", "12x");
    store.write(kPositionsGroup, "Form3.Left", "300");
    EXPECT_EQ(LoadWindowPosition(store, 3), QPoint(300, 20));
    EXPECT_FALSE(HasStoredWindowPosition(store, 3));
    SaveWindowPosition(store, 2, QPoint(-15, 640));
    EXPECT_EQ(store.read(kPositionsGroup, "Form2.Top"), "640");
    EXPECT_EQ(store.read(kPositionsGroup, "Form2.Left"), "-15");
    EXPECT_TRUE(HasStoredWindowPosition(store, 2));
}

TEST(NativeStore, ValuesSurviveARestartAsStrings) {
    {
        NativeSettingsStore store;
        store.write(kOptionsGroup, "Observer Latitude", "-33.8650");
        store.write(kOptionsGroup, "Sun Horizon", "true");
        SaveWindowPosition(store, 1, QPoint(100, 200));
        ASSERT_TRUE(store.sync());
        EXPECT_TRUE(store.fileName().startsWith(test::ConfigHome()));
        EXPECT_TRUE(store.fileName().endsWith("Brenlo Programs/Skyrel.conf"));
    }
    NativeSettingsStore restarted;
    EXPECT_EQ(restarted.read(kOptionsGroup, "Observer Latitude"), "-33.8650");
    EXPECT_EQ(restarted.read(kPositionsGroup, "Form1.Left"), "100");
    const test::FakeClock clock;
    Settings s;
    LoadSettings(restarted, clock, s);
    EXPECT_DOUBLE_EQ(s.site.latitude, -33.865);
    EXPECT_TRUE(s.sunHorizon);
}

TEST(NativeStore, ACorruptFileGivesTheMessageAndLosesNothingElse) {
    const QString dir = test::ConfigHome() + "/Brenlo Programs";
    ASSERT_TRUE(QDir().mkpath(dir));
    QFile file(dir + "/Skyrel.conf");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Startup]\nObserver%20Name=W1AW\nObserver%20Latitude=abc\n");
    file.write(QByteArray("\x00\xff\xfe\x13garbage\x01\x02\n", 14));
    file.write("Park%20Azm=12.5\n[Form%20Positions]\nForm3.Top=40\n");
    file.close();

    NativeSettingsStore store;
    const test::FakeClock clock;
    Settings s;
    const LoadOutcome outcome = LoadSettings(store, clock, s);
    EXPECT_EQ(outcome.error.value_or(""),
              "Observer Latitude in " + store.fileName() + ": 'abc' is not a valid floating point value; using 38.02");
    EXPECT_DOUBLE_EQ(s.site.latitude, 38.02);
    EXPECT_EQ(s.site.name, "W1AW");
    EXPECT_DOUBLE_EQ(s.parkAz, 12.5);

    SaveWindowPosition(store, 1, QPoint(5, 6));
    NativeSettingsStore restarted;
    EXPECT_EQ(restarted.read(kOptionsGroup, "Observer Name"), "W1AW");
    EXPECT_EQ(restarted.read(kOptionsGroup, "Park Azm"), "12.5");
    EXPECT_EQ(restarted.read(kPositionsGroup, "Form3.Top"), "40");
    EXPECT_EQ(restarted.read(kPositionsGroup, "Form1.Top"), "6");
}

}  // namespace
}  // namespace skyrel

namespace skyrel {
namespace {

// A stored value of a group other than the options', and the line that names it when it fails.
struct BadGroupValue {
    const char* name;
    const char* text;
    const char* why;
    const char* defaultText;
};

// Stores every case in the group and returns the message a load must give: a line a key, in table order.
QString StoreBadValues(SettingsStore& store, const QString& group, std::initializer_list<BadGroupValue> cases) {
    QStringList messages;
    for (const BadGroupValue& bad : cases) {
        store.write(group, QLatin1String(bad.name), QLatin1String(bad.text));
        messages << QStringLiteral("%1/%2 in memory: %3; using %4").arg(group, bad.name, bad.why, bad.defaultText);
    }
    return messages.join('\n');
}

// The radio's group: every value written reads back, and each bad one is named with its group and holds
// its default while the rest is read.
TEST(GroupSettings, RadioRoundTripAndEveryBadValueNamedWithItsGroup) {
    RadioSettings written;
    written.enabled = true;
    written.model = 1;
    written.device = QStringLiteral("/dev/ttyUSB1");
    written.speed = 38400;
    written.mode = nav::RadioMode::OnDxEcho;
    written.rxSky = 10368100000;
    written.txSky = 10368102000;
    written.rx = {-10224000000, false};
    written.tx = {10512000000, true};
    written.step = 20;
    written.split = RadioSplit::None;
    MemorySettingsStore store;
    ASSERT_TRUE(SaveRadioSettings(store, written));
    OptionReader reader(store, kRadioGroup);
    EXPECT_TRUE(ReadRadioSettings(reader) == written);
    EXPECT_FALSE(reader.message());

    const QString message = StoreBadValues(store, kRadioGroup, {
        {"Mode", "Echo", "'Echo' is none of Off, Own Echo, Constant On Moon, Full To DX, On DX Echo, Call DX",
         "Own Echo"},
        {"Rx Sky", "1000", "'1000' is out of range: the sky frequency must be from 1e+06 to 3e+11 Hz", "1296100000"},
        {"Tx LO", "1,5", "'1,5' is not a valid floating point value", "0"},
        {"Tx Invert", "yes", "'yes' is none of True, False", "False"},
        {"Step", "0", "'0' is out of range: the step must be from 1 to 1e+06 Hz", "10"},
        {"Split", "both", "'both' is none of Rig, None", "Rig"},
    });
    OptionReader badReader(store, kRadioGroup);
    const RadioSettings read = ReadRadioSettings(badReader);
    EXPECT_EQ(badReader.message().value_or(""), message);
    RadioSettings expected = written;
    const RadioSettings defaults;
    expected.mode = defaults.mode;
    expected.rxSky = defaults.rxSky;
    expected.step = defaults.step;
    expected.split = defaults.split;
    expected.tx = defaults.tx;
    EXPECT_TRUE(read == expected);
}

// The rotator's, the planner's and the web page's groups likewise. A switch in other letters, a range of
// seconds that is none, a limit or a port that is no number, a DX line that is no station would each leave
// the rotator, the planner or the page other than the file says without a word.
TEST(GroupSettings, HamlibPlannerAndWebRoundTripAndEveryBadValueNamedWithItsGroup) {
    HamlibSettings rotator;
    rotator.enabled = true;
    rotator.model = 603;
    rotator.device = QStringLiteral("/dev/ttyUSB0");
    rotator.speed = 4800;
    rotator.step = 0.5;
    rotator.moveSeconds = QStringLiteral("55-5");
    rotator.minAzimuth = -180;
    rotator.maxElevation = 90;
    rotator.waitAtRise = false;
    rotator.stepSerialLines = true;
    MemorySettingsStore store;
    ASSERT_TRUE(SaveHamlibSettings(store, rotator));
    OptionReader reader(store, kHamlibGroup);
    EXPECT_EQ(ReadHamlibSettings(reader), rotator);
    EXPECT_FALSE(reader.message());

    const QString hamlibMessage = StoreBadValues(store, kHamlibGroup, {
        {"Enabled", "true", "'true' is none of True, False", "False"},
        {"Speed", "9600.5", "'9600.5' is not a valid integer value", "9600"},
        {"Step", "200", "'200' is out of range: the step must be from 0 to 180 degrees", "0.1"},
        {"Move Seconds", "50-60", "'50-60' is no second of the minute (0 to 59) nor a range of them like 50-59",
         "any second"},
        {"Min Az", "west", "'west' is not a valid floating point value", "the rotator's own"},
        {"Wait At Rise", "no", "'no' is none of True, False", "True"},
    });
    OptionReader badReader(store, kHamlibGroup);
    HamlibSettings expected = rotator;
    expected.enabled = false;
    expected.speed = 9600;
    expected.step = 0.1;
    expected.moveSeconds.clear();
    expected.minAzimuth.reset();
    expected.waitAtRise = true;
    EXPECT_EQ(ReadHamlibSettings(badReader), expected);
    EXPECT_EQ(badReader.message().value_or(""), hamlibMessage);

    PlannerSettings planner;
    planner.recentDx = QStringList{QStringLiteral("DL0CALL JO62qm"), QStringLiteral("W1AW FN31pr")};
    planner.minElevation = 10;
    planner.receiverKelvin[0] = 250;
    SavePlannerSettings(store, planner);
    const QString plannerMessage = StoreBadValues(store, kPlannerGroup, {
        {"DX 1", "DL0CALL ZZ99", "'DL0CALL ZZ99': 'ZZ99' is not a locator: the field letters run from A to R", "none"},
        {"Min Elevation", "90", "'90' is out of range: the minimum elevation must be from -5 to 60 degrees", "0"},
        {"Trx 435", "0", "'0' is out of range: the receiving-system temperature must be from 1 to 10000 K", "60"},
    });
    OptionReader plannerReader(store, kPlannerGroup);
    const PlannerSettings readPlanner = ReadPlannerSettings(plannerReader);
    EXPECT_EQ(plannerReader.message().value_or("").toStdString(), plannerMessage.toStdString());
    EXPECT_EQ(readPlanner.recentDx, QStringList{QStringLiteral("W1AW FN31pr")});
    EXPECT_EQ(readPlanner.minElevation, 0);
    EXPECT_EQ(readPlanner.receiverKelvin[0], 250);
    EXPECT_EQ(readPlanner.receiverKelvin[1], 60);

    // The page is on in the file, so the token is made, but on the default port: none was stored whole.
    store.write(kWebGroup, QStringLiteral("Enabled"), QStringLiteral("True"));
    const QString webMessage = StoreBadValues(store, kWebGroup, {
        {"Port", "70000", "'70000' is out of range: the port must be from 1 to 65535", "8073"},
    });
    QStringList problems;
    const WebSettings web = LoadWebSettingsWithToken(store, problems);
    EXPECT_EQ(problems, QStringList{webMessage});
    EXPECT_TRUE(web.enabled);
    EXPECT_EQ(web.port, kDefaultWebPort);
    EXPECT_EQ(web.token.size(), 43);
}

}  // namespace
}  // namespace skyrel

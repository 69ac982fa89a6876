// Saving the setup dialog's form: the stored texts, the values put in effect, the moments of the save's
// actions, a bad number refused before anything happens, and the next start reading back every value.
#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <memory>

#include "app/settings/numbertext.h"
#include "app/settings/settings.h"
#include "app/settings/settingswriter.h"
#include "tests/support/fakeclock.h"

namespace skyrel {
namespace {

using test::FakeClock;

QString Stored(const SettingsStore& store, const char* name) {
    return store.read(kOptionsGroup, QLatin1String(name));
}

// The form the dialog shows for the built-in values after a first start: every number in display form.
SetupForm UneditedForm() {
    SetupForm form;
    form.latitude = QStringLiteral("38.0200");
    form.longitude = QStringLiteral("-78.6300");
    form.height = QStringLiteral("100");
    form.name = QStringLiteral("Observer");
    form.portIndex = 1;
    form.baudIndex = 0;
    form.parkAz = form.parkEl = QStringLiteral("0.0");
    form.offsetAz.fill(QStringLiteral("0.0"));
    form.offsetEl.fill(QStringLiteral("0.0"));
    return form;
}

// Every option away from its default.
SetupForm EveryOptionChanged() {
    SetupForm form;
    form.sunShadow = form.moonShadow = form.sunHorizon = true;
    form.moonHorizon = form.sunSubPoint = form.moonSubPoint = true;
    form.autoTime = false;
    form.clockOffset = QStringLiteral("-4.5");
    form.latitude = QStringLiteral("52.5170");
    form.longitude = QStringLiteral("13.3889");
    form.height = QStringLiteral("34");
    form.name = QStringLiteral("DL0XYZ Berlin");
    form.portIndex = 7;
    form.baudIndex = 6;
    form.parkAz = QStringLiteral("181.5");
    form.parkEl = QStringLiteral("89.0");
    form.offsetAz = {QStringLiteral("0.3"), QStringLiteral("1.1"), QStringLiteral("-2.2"), QStringLiteral("3.3")};
    form.offsetEl = {QStringLiteral("-0.4"), QStringLiteral("0.5"), QStringLiteral("0.6"), QStringLiteral("-0.7")};
    form.activeFeed = Feed::X;
    form.outputFormat = QStringLiteral("NovaLHA");
    return form;
}

// The writes of a save and whether the store was put on disk, in order.
class RecordingStore : public MemorySettingsStore {
public:
    void write(const QString& group, const QString& name, const QString& value) override {
        MemorySettingsStore::write(group, name, value);
        log << name;
    }
    bool sync() override {
        log << QStringLiteral("<sync>");
        return diskWritable;
    }
    QStringList log;
    bool diskWritable = true;
};

struct SaveFixture : ::testing::Test {
    FakeClock clock{2005, 9, 21, 17, 15, 0, 120};  // local time is UTC + 2 h
    MemorySettingsStore store;
    Settings settings;
    TrackingState tracking;
    QStringList actionLog;

    SaveActions recordingActions() {
        return {[this] { actionLog << QStringLiteral("beforeWriting"); },
                [this] { actionLog << QStringLiteral("applySite"); },
                [this] { actionLog << QStringLiteral("openPortIfTracking"); },
                [this] { actionLog << QStringLiteral("closePort"); },
                {}};
    }
    std::optional<SetupFormError> save(const SetupForm& form) {
        return SaveSettings(store, clock, form, settings, tracking, recordingActions());
    }
};

TEST_F(SaveFixture, WritesEveryValueInItsStoredFormAndPutsItInEffect) {
    ASSERT_FALSE(save(EveryOptionChanged()));

    for (const char* flag : {"Sun Shadow", "Moon Shadow", "Sun Horizon", "Moon Horizon", "Sun Sub Pt", "Moon Sub Pt"})
        EXPECT_EQ(Stored(store, flag), "true") << flag;
    EXPECT_EQ(Stored(store, "Auto Time"), "false");
    EXPECT_EQ(Stored(store, "TimeOff"), "-4.5");
    EXPECT_EQ(Stored(store, "Observer Latitude"), "52.5170");
    EXPECT_EQ(Stored(store, "Observer Longitude"), "13.3889");
    EXPECT_EQ(Stored(store, "Observer Height"), "34");
    EXPECT_EQ(Stored(store, "Observer Name"), "DL0XYZ Berlin");
    EXPECT_EQ(Stored(store, "Com Port"), "7");
    EXPECT_EQ(Stored(store, "Baud Rate"), "6");
    EXPECT_EQ(Stored(store, "Park Azm"), "181.5");
    EXPECT_EQ(Stored(store, "Park Elev"), "89.0");
    EXPECT_EQ(Stored(store, "L Offset Az"), "1.1");
    EXPECT_EQ(Stored(store, "S Offset Az"), "-2.2");
    EXPECT_EQ(Stored(store, "X Offset El"), "-0.7");
    EXPECT_EQ(Stored(store, "Static Offset Az"), "0.3");
    EXPECT_EQ(Stored(store, "Static Offset El"), "-0.4");
    EXPECT_EQ(Stored(store, "Active Feed"), "X");
    EXPECT_EQ(Stored(store, "Output Format"), "NovaLHA");

    EXPECT_TRUE(settings.sunShadow && settings.moonShadow && settings.sunHorizon && settings.moonHorizon &&
                settings.sunSubPoint && settings.moonSubPoint);
    EXPECT_FALSE(settings.autoTime);
    EXPECT_DOUBLE_EQ(settings.clockOffset, -4.5);
    EXPECT_DOUBLE_EQ(settings.site.latitude, 52.517);
    EXPECT_DOUBLE_EQ(settings.site.longitude, 13.3889);
    EXPECT_DOUBLE_EQ(settings.site.height, 34);
    EXPECT_EQ(settings.site.name, "DL0XYZ Berlin");
    EXPECT_EQ(settings.comPort, 7);
    EXPECT_EQ(settings.baudRate, 76800);
    EXPECT_DOUBLE_EQ(settings.parkAz, 181.5);
    EXPECT_DOUBLE_EQ(settings.parkEl, 89.0);
    EXPECT_DOUBLE_EQ(settings.offsetAz[0], 0.3);
    EXPECT_DOUBLE_EQ(settings.offsetAz[1], 1.1);
    EXPECT_DOUBLE_EQ(settings.offsetAz[2], -2.2);
    EXPECT_DOUBLE_EQ(settings.offsetAz[3], 3.3);
    EXPECT_DOUBLE_EQ(settings.offsetEl[0], -0.4);
    EXPECT_DOUBLE_EQ(settings.offsetEl[1], 0.5);
    EXPECT_DOUBLE_EQ(settings.offsetEl[2], 0.6);
    EXPECT_DOUBLE_EQ(settings.offsetEl[3], -0.7);
    EXPECT_EQ(settings.activeFeed, Feed::X);
    EXPECT_EQ(settings.outputFormat, "NovaLHA");
    EXPECT_FALSE(tracking.ddeOutput);
}

TEST(SaveSettingsOrder, WritesInTheFixedOrderAndSyncsBeforeTheRotatorPortIsSwitched) {
    FakeClock clock;
    RecordingStore store;
    Settings settings;
    TrackingState tracking;
    SaveActions actions;
    actions.applySite = [&] { store.log << QStringLiteral("<applySite>"); };
    actions.openPortIfTracking = [&] { store.log << QStringLiteral("<openPortIfTracking>"); };
    ASSERT_FALSE(SaveSettings(store, clock, EveryOptionChanged(), settings, tracking, actions));
    const QStringList expected = {
        "Sun Shadow",       "Moon Shadow",        "Sun Horizon",        "Moon Horizon",     "Sun Sub Pt",
        "Moon Sub Pt",      "Auto Time",          "TimeOff",            "Observer Latitude", "Observer Longitude",
        "Observer Height",  "Observer Name",      "<applySite>",        "Com Port",         "Baud Rate",
        "Park Azm",         "Park Elev",          "L Offset Az",        "L Offset El",      "S Offset Az",
        "S Offset El",      "X Offset Az",        "X Offset El",        "Static Offset Az", "Static Offset El",
        "Active Feed",      "Output Format",      "<sync>",             "<openPortIfTracking>"};
    EXPECT_EQ(store.log, expected);
}

TEST(SaveSettingsOrder, AStoreThatCannotReachTheDiskIsReportedNotPassedOffAsSaved) {
    FakeClock clock;
    RecordingStore store;
    Settings settings;
    TrackingState tracking;
    int reported = 0;
    SaveActions actions;
    actions.storeFailed = [&] { ++reported; };
    ASSERT_FALSE(SaveSettings(store, clock, EveryOptionChanged(), settings, tracking, actions));
    EXPECT_EQ(reported, 0);
    store.diskWritable = false;
    ASSERT_FALSE(SaveSettings(store, clock, EveryOptionChanged(), settings, tracking, actions));
    EXPECT_EQ(reported, 1);
    EXPECT_EQ(settings.site.name, "DL0XYZ Berlin");  // in effect all the same
}

TEST_F(SaveFixture, ApplySiteSeesTheNewSiteAndTheOldValuesSavedAfterIt) {
    settings.parkAz = 12;
    settings.comPort = 2;
    Settings seen;
    SaveActions actions;
    actions.applySite = [&] { seen = settings; };
    ASSERT_FALSE(SaveSettings(store, clock, EveryOptionChanged(), settings, tracking, actions));
    EXPECT_DOUBLE_EQ(seen.site.latitude, 52.517);
    EXPECT_EQ(seen.site.name, "DL0XYZ Berlin");
    EXPECT_DOUBLE_EQ(seen.clockOffset, -4.5);
    EXPECT_TRUE(seen.moonShadow);
    EXPECT_DOUBLE_EQ(seen.parkAz, 12);
    EXPECT_EQ(seen.comPort, 2);
}

TEST_F(SaveFixture, EmptySiteBoxesTakeTheDefaultsAndALongNameIsCutTo16Characters) {
    SetupForm form = UneditedForm();
    form.latitude.clear();
    form.longitude.clear();
    form.height.clear();
    form.name.clear();
    ASSERT_FALSE(save(form));
    EXPECT_EQ(Stored(store, "Observer Latitude"), "38.02");
    EXPECT_EQ(Stored(store, "Observer Longitude"), "-78.63");
    EXPECT_EQ(Stored(store, "Observer Height"), "100");
    EXPECT_EQ(Stored(store, "Observer Name"), "Observer");
    EXPECT_DOUBLE_EQ(settings.site.latitude, 38.02);
    EXPECT_DOUBLE_EQ(settings.site.longitude, -78.63);
    EXPECT_DOUBLE_EQ(settings.site.height, 100);
    EXPECT_EQ(settings.site.name, "Observer");

    form.name = QStringLiteral("ABCDEFGHIJKLMNOPQRST");
    ASSERT_FALSE(save(form));
    EXPECT_EQ(Stored(store, "Observer Name"), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(settings.site.name, "ABCDEFGHIJKLMNOP");
}

TEST(FirstCharacters, NeverCutsACharacterOutsideTheBasicPlaneInTwo) {
    EXPECT_EQ(FirstCharacters(QStringLiteral("Observer"), 16), "Observer");
    EXPECT_EQ(FirstCharacters(QStringLiteral("ABCDEFGHIJKLMNOPQRST"), 16), "ABCDEFGHIJKLMNOP");
    // Fifteen letters and a satellite dish (two UTF-16 units), then more: the dish is the 16th character.
    const QString dish = QString::fromUtf8("\xF0\x9F\x93\xA1");
    const QString name = QStringLiteral("ABCDEFGHIJKLMNO") + dish + QStringLiteral("XYZ");
    EXPECT_EQ(FirstCharacters(name, 16), QStringLiteral("ABCDEFGHIJKLMNO") + dish);
    EXPECT_EQ(FirstCharacters(name, 15), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(FirstCharacters(QString(), 16), "");
}

TEST_F(SaveFixture, AutomaticClockLeavesTheStoredOffsetAndTakesTheSystemDifference) {
    store.write(kOptionsGroup, QStringLiteral("TimeOff"), QStringLiteral("-7.0"));
    SetupForm form = UneditedForm();
    form.autoTime = true;
    form.clockOffset = QStringLiteral("not a number, and not read");
    ASSERT_FALSE(save(form));
    EXPECT_EQ(Stored(store, "Auto Time"), "true");
    EXPECT_EQ(Stored(store, "TimeOff"), "-7.0");
    EXPECT_TRUE(settings.autoTime);
    EXPECT_DOUBLE_EQ(settings.clockOffset, 2.0);
}

TEST_F(SaveFixture, UneditedFormStoresTheDisplayFormOfTheDefaults) {
    ASSERT_FALSE(save(UneditedForm()));
    EXPECT_EQ(Stored(store, "Observer Latitude"), "38.0200");
    EXPECT_EQ(Stored(store, "Observer Longitude"), "-78.6300");
    EXPECT_EQ(Stored(store, "Park Azm"), "0.0");
    EXPECT_EQ(Stored(store, "Com Port"), "1");
    EXPECT_EQ(Stored(store, "Baud Rate"), "0");
    EXPECT_EQ(Stored(store, "Active Feed"), "L");
    EXPECT_EQ(Stored(store, "Output Format"), "EasyComm1");
    EXPECT_EQ(settings.baudRate, 1200);
}

TEST_F(SaveFixture, PortChoiceSwitchesTheOutputAfterTheNewSpeedIsInEffect) {
    // After TRACK_DDE the output is on the local endpoint although a port number is stored.
    tracking.ddeOutput = true;
    int baudAtOpen = 0;
    SaveActions actions = recordingActions();
    actions.openPortIfTracking = [&] {
        actionLog << QStringLiteral("openPortIfTracking");
        baudAtOpen = settings.baudRate;
    };
    SetupForm form = UneditedForm();
    form.portIndex = 3;
    form.baudIndex = 3;
    ASSERT_FALSE(SaveSettings(store, clock, form, settings, tracking, actions));
    EXPECT_EQ(Stored(store, "Com Port"), "3");
    EXPECT_EQ(settings.comPort, 3);
    EXPECT_FALSE(tracking.ddeOutput);
    EXPECT_EQ(baudAtOpen, 9600);
    EXPECT_EQ(actionLog, QStringList({"beforeWriting", "applySite", "openPortIfTracking"}));

    actionLog.clear();
    form.portIndex = 0;
    ASSERT_FALSE(save(form));
    EXPECT_EQ(Stored(store, "Com Port"), "0");
    EXPECT_EQ(settings.comPort, 0);
    EXPECT_TRUE(tracking.ddeOutput);
    EXPECT_EQ(actionLog, QStringList({"beforeWriting", "applySite", "closePort"}));
}

TEST_F(SaveFixture, ABadNumberIsRefusedBeforeAnythingIsWrittenOrApplied) {
    struct Case {
        SetupField field;
        QString text;
        void (*put)(SetupForm&, const QString&);
    };
    const Case cases[] = {
        {SetupField::ClockOffset, "", [](SetupForm& f, const QString& t) {
             f.autoTime = false;
             f.clockOffset = t;
         }},
        {SetupField::Latitude, "N38", [](SetupForm& f, const QString& t) { f.latitude = t; }},
        {SetupField::Longitude, "-", [](SetupForm& f, const QString& t) { f.longitude = t; }},
        {SetupField::Height, ".", [](SetupForm& f, const QString& t) { f.height = t; }},
        {SetupField::ParkAz, "1.2.3", [](SetupForm& f, const QString& t) { f.parkAz = t; }},
        {SetupField::ParkEl, "", [](SetupForm& f, const QString& t) { f.parkEl = t; }},
        {SetupField::LOffsetAz, "1,5", [](SetupForm& f, const QString& t) { f.offsetAz[1] = t; }},
        {SetupField::LOffsetEl, "--1", [](SetupForm& f, const QString& t) { f.offsetEl[1] = t; }},
        {SetupField::SOffsetAz, "", [](SetupForm& f, const QString& t) { f.offsetAz[2] = t; }},
        {SetupField::SOffsetEl, "x", [](SetupForm& f, const QString& t) { f.offsetEl[2] = t; }},
        {SetupField::XOffsetAz, "1e999", [](SetupForm& f, const QString& t) { f.offsetAz[3] = t; }},
        {SetupField::XOffsetEl, "-.", [](SetupForm& f, const QString& t) { f.offsetEl[3] = t; }},
        {SetupField::StaticOffsetAz, "0..1", [](SetupForm& f, const QString& t) { f.offsetAz[0] = t; }},
        {SetupField::StaticOffsetEl, "", [](SetupForm& f, const QString& t) { f.offsetEl[0] = t; }},
    };
    for (const Case& c : cases) {
        SetupForm form = EveryOptionChanged();
        c.put(form, c.text);
        const Settings before = settings;
        const auto error = save(form);
        ASSERT_TRUE(error) << c.text.toStdString();
        EXPECT_EQ(error->field, c.field) << c.text.toStdString();
        EXPECT_EQ(error->message, InvalidRealMessage(c.text));
        EXPECT_EQ(store.writeCount(), 0) << c.text.toStdString();
        EXPECT_TRUE(actionLog.isEmpty()) << c.text.toStdString();
        EXPECT_EQ(settings.site.latitude, before.site.latitude);
        EXPECT_EQ(settings.moonShadow, before.moonShadow);
        EXPECT_EQ(settings.comPort, before.comPort);
    }
    EXPECT_FALSE(tracking.ddeOutput);
}

TEST_F(SaveFixture, TheFirstBadBoxInSaveOrderIsReported) {
    SetupForm form = EveryOptionChanged();
    form.parkAz = QStringLiteral("1.2.3");
    form.offsetEl[0] = QStringLiteral("abc");
    form.latitude = QStringLiteral("4x");
    const auto error = CheckSetupForm(form);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->field, SetupField::Latitude);
    EXPECT_EQ(error->message, "'4x' is not a valid floating point value");
}

TEST_F(SaveFixture, NoTickedFeedIsStoredAsNoneAndReadBackAsNoFeed) {
    SetupForm form = UneditedForm();
    form.activeFeed = Feed::None;
    ASSERT_FALSE(save(form));
    EXPECT_EQ(Stored(store, "Active Feed"), "None");
    EXPECT_EQ(settings.activeFeed, Feed::None);
    Settings restarted;
    ASSERT_FALSE(LoadSettings(store, clock, restarted).error);
    EXPECT_EQ(restarted.activeFeed, Feed::None);
}

TEST(BaudIndexOfRate, CountsTheHalvingsDownTo1200) {
    EXPECT_EQ(BaudIndexOfRate(1200), 0);
    EXPECT_EQ(BaudIndexOfRate(2400), 1);
    EXPECT_EQ(BaudIndexOfRate(9600), 3);
    EXPECT_EQ(BaudIndexOfRate(76800), 6);
    EXPECT_EQ(BaudIndexOfRate(153600), 7);
    for (int index = 0; index <= 7; ++index) EXPECT_EQ(BaudIndexOfRate(BaudRateOfIndex(index)), index);
}

TEST(SaveFeedCaption, StoresTheCaptionAtOnceEvenWhenEmpty) {
    MemorySettingsStore store;
    Settings settings;
    SaveFeedCaption(store, settings, 1, QStringLiteral("3 cm feed"));
    EXPECT_EQ(Stored(store, "Offset 2"), "3 cm feed");
    EXPECT_EQ(settings.feedCaption[1], "3 cm feed");
    SaveFeedCaption(store, settings, 0, QString());
    EXPECT_EQ(settings.feedCaption[0], "");
    EXPECT_EQ(store.read(kOptionsGroup, QStringLiteral("Offset 1")), "");
    EXPECT_EQ(settings.feedCaption[2], kBuiltInFeedCaptions[2]);
}

// A new start reads, through a second native store made after the first one is gone, what each kind of
// save wrote: every option changed, then the defaults, DDE output, automatic clock, no feed, captions.
TEST(SaveSettingsRestart, EveryKindOfSaveIsReadBackByTheNextStart) {
    FakeClock clock{2005, 9, 21, 17, 15, 0, -300};
    const auto saveAndRestart = [&](const SetupForm& form, const std::function<void(SettingsStore&)>& more) {
        auto store = std::make_unique<NativeSettingsStore>();
        Settings settings;
        TrackingState tracking;
        EXPECT_FALSE(SaveSettings(*store, clock, form, settings, tracking, {}));
        if (more) more(*store);
        const QString file = store->fileName();
        store.reset();
        EXPECT_TRUE(QFile::exists(file));
        NativeSettingsStore next;
        Settings restarted;
        const LoadOutcome outcome = LoadSettings(next, clock, restarted);
        EXPECT_FALSE(outcome.error);
        EXPECT_EQ(restarted.comPort == 0, tracking.ddeOutput);
        return std::make_pair(settings, restarted);
    };

    {
        const auto [saved, restarted] = saveAndRestart(EveryOptionChanged(), {});
        EXPECT_EQ(restarted.site.latitude, saved.site.latitude);
        EXPECT_EQ(restarted.site.longitude, saved.site.longitude);
        EXPECT_EQ(restarted.site.height, saved.site.height);
        EXPECT_EQ(restarted.site.name, saved.site.name);
        EXPECT_FALSE(restarted.autoTime);
        EXPECT_EQ(restarted.clockOffset, -4.5);
        EXPECT_TRUE(restarted.sunShadow && restarted.moonShadow && restarted.sunHorizon && restarted.moonHorizon &&
                    restarted.sunSubPoint && restarted.moonSubPoint);
        EXPECT_EQ(restarted.comPort, 7);
        EXPECT_EQ(restarted.baudRate, 76800);
        EXPECT_EQ(restarted.parkAz, saved.parkAz);
        EXPECT_EQ(restarted.parkEl, saved.parkEl);
        EXPECT_EQ(restarted.offsetAz, saved.offsetAz);
        EXPECT_EQ(restarted.offsetEl, saved.offsetEl);
        EXPECT_EQ(restarted.activeFeed, Feed::X);
        EXPECT_EQ(restarted.outputFormat, "NovaLHA");
        EXPECT_EQ(restarted.site.ephemeris, nav::Ephemeris::Standard);
    }
    {
        SetupForm form = UneditedForm();
        form.portIndex = 0;
        form.activeFeed = Feed::None;
        form.outputFormat = QStringLiteral("Nova");
        const auto captions = [](SettingsStore& store) {
            Settings s;
            SaveFeedCaption(store, s, 0, QStringLiteral("23 cm dish feed"));
            SaveFeedCaption(store, s, 2, QStringLiteral("10 GHz horn"));
            SaveEphemeris(store, s, nav::Ephemeris::Precise);
            EXPECT_EQ(s.site.ephemeris, nav::Ephemeris::Precise);
        };
        const auto [saved, restarted] = saveAndRestart(form, captions);
        EXPECT_TRUE(restarted.autoTime);
        EXPECT_EQ(restarted.clockOffset, -5.0);
        EXPECT_FALSE(restarted.sunShadow || restarted.moonShadow || restarted.sunHorizon || restarted.moonHorizon ||
                     restarted.sunSubPoint || restarted.moonSubPoint);
        EXPECT_EQ(restarted.site.latitude, 38.02);
        EXPECT_EQ(restarted.site.name, "Observer");
        EXPECT_EQ(restarted.comPort, 0);
        EXPECT_EQ(restarted.baudRate, 1200);
        EXPECT_EQ(restarted.offsetAz, saved.offsetAz);
        EXPECT_EQ(restarted.activeFeed, Feed::None);
        EXPECT_EQ(restarted.outputFormat, "Nova");
        EXPECT_EQ(restarted.feedCaption[0], "23 cm dish feed");
        EXPECT_EQ(restarted.feedCaption[1], kBuiltInFeedCaptions[1]);
        EXPECT_EQ(restarted.feedCaption[2], "10 GHz horn");
        EXPECT_EQ(restarted.site.ephemeris, nav::Ephemeris::Precise);
    }
}

}  // namespace
}  // namespace skyrel

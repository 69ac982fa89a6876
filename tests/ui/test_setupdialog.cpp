// The setup dialog on the offscreen platform: its layout, the fill on show, the live controls, Save and
// Cancel with their effects on the running program, and a save read back by the next start.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/settings/settings.h"
#include "tests/support/fakeclock.h"
#include "tests/support/uitest.h"
#include "ui/setupdialog.h"

namespace skyrel {
namespace {

using test::FakeClock;

QString Stored(const SettingsStore& store, const char* name) {
    return store.read(kOptionsGroup, QLatin1String(name));
}

using test::Click;
using test::ClickListItem;

void TypeInto(QLineEdit* box, const QString& text) {
    box->clear();
    QTest::keyClicks(box, text);
}

// Answers the next modal text prompt once it is up; `inspect` sees it before the answer.
void AnswerPrompt(const QString& text, bool accept, std::function<void(QInputDialog*)> inspect = {}) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, text, accept, inspect] {
        auto* prompt = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!prompt) return;
        poll->stop();
        poll->deleteLater();
        if (inspect) inspect(prompt);
        prompt->setTextValue(text);
        if (accept) prompt->accept();
        else prompt->reject();
    });
    poll->start();
}

class SetupDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        LoadSettings(store, clock, state.settings);
        state.tracking.ddeOutput = false;
        // Stands in for the main window's one-second cycle.
        cycle.setInterval(1000);
        cycle.start();
        dialog = std::make_unique<TSMForm2>(state, clock, store);
        SetupHooks hooks;
        hooks.applySite = [this] { calls << QStringLiteral("applySite"); };
        hooks.stopTimer = [this] {
            calls << QStringLiteral("stopTimer");
            cycle.stop();
        };
        hooks.startTimer = [this] {
            calls << QStringLiteral("startTimer");
            cycle.start();
        };
        hooks.openPortIfTracking = [this] {
            if (state.tracking.trackingActive) calls << QStringLiteral("openPort");
        };
        hooks.closePort = [this] { calls << QStringLiteral("closePort"); };
        hooks.redrawMapIfVisible = [this] { calls << QStringLiteral("redrawMap"); };
        dialog->setHooks(hooks);
    }

    void TearDown() override {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (qobject_cast<QMessageBox*>(widget)) widget->close();
        }
    }

    // The park and static boxes read "LHA:"/"Dec:" and the feed boxes are hidden.
    void ExpectHourAngleLayout() const {
    EXPECT_EQ(dialog->Label3->text(), "LHA:");
    EXPECT_EQ(dialog->Label4->text(), "Dec:");
    EXPECT_EQ(dialog->Label11->text(), "LHA:");
    EXPECT_EQ(dialog->Label12->text(), "Dec:");
    EXPECT_FALSE(dialog->GroupBox5->isVisible());
    EXPECT_FALSE(dialog->GroupBox6->isVisible());
    EXPECT_FALSE(dialog->GroupBox7->isVisible());
    }

    FakeClock clock{2005, 9, 21, 17, 15, 0, 60};
    MemorySettingsStore store;
    AppState state;
    QTimer cycle;
    QStringList calls;
    std::unique_ptr<TSMForm2> dialog;
};

TEST_F(SetupDialogTest, LaysOutTheGroupsControlsCaptionsAndHints) {
    EXPECT_EQ(dialog->windowTitle(), " Setup  Skyrel / Brenlo");
    EXPECT_EQ(dialog->size(), QSize(532, 395));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(dialog->font().bold());
    EXPECT_EQ(dialog->font().pointSize(), 8);

    const struct {
        QGroupBox* group;
        const char* title;
        QRect geometry;
    } groups[] = {
        {dialog->GroupBox1, "Clock Offset from UTC (hrs):", {16, 8, 209, 49}},
        {dialog->GroupBox2, "Observer Features", {16, 72, 249, 81}},
        {dialog->GroupBox3, "Map Features", {16, 160, 249, 89}},
        {dialog->GroupBox4, "Output Format", {120, 264, 169, 113}},
        {dialog->GroupBox5, "L-band Feed Offset (deg)", {280, 8, 240, 49}},
        {dialog->GroupBox6, "S-band Feed Offset (deg)", {280, 64, 240, 49}},
        {dialog->GroupBox7, "X-band Feed Offset (deg)", {280, 120, 240, 49}},
        {dialog->GroupBox8, "Tracking", {320, 176, 201, 65}},
        {dialog->GroupBox9, "Park (deg)", {320, 248, 201, 49}},
        {dialog->GroupBox10, "Static Az/El Offset (deg)", {320, 308, 201, 49}},
    };
    for (const auto& g : groups) {
        EXPECT_EQ(g.group->title(), g.title);
        EXPECT_EQ(g.group->geometry(), g.geometry) << g.title;
    }
    EXPECT_EQ(dialog->Button2->text(), "Cancel");
    EXPECT_EQ(dialog->Button2->geometry(), QRect(32, 280, 57, 25));
    EXPECT_EQ(dialog->Button1->text(), "Save");
    EXPECT_EQ(dialog->Button1->geometry(), QRect(32, 320, 57, 25));

    EXPECT_EQ(dialog->RadioButton1->text(), "Auto");
    EXPECT_TRUE(dialog->RadioButton1->isChecked());
    EXPECT_EQ(dialog->RadioButton2->text(), "Manual");
    EXPECT_FALSE(dialog->Edit1->isVisibleTo(dialog.get()));
    const QStringList checks = {dialog->CheckBox1->text(), dialog->CheckBox2->text(), dialog->CheckBox3->text(),
                                dialog->CheckBox4->text(), dialog->CheckBox5->text(), dialog->CheckBox6->text()};
    EXPECT_EQ(checks, QStringList({"Sun Horizon", "Sub Sun Pt.", "Moon Horizon", "Sub Moon Pt.", "Darkness",
                                   "Moonlight"}));
    EXPECT_FALSE(dialog->CheckBox6->isEnabled());
    EXPECT_EQ(dialog->RadioButton3->text(), "EasyComm1 Az/El");
    EXPECT_EQ(dialog->RadioButton4->text(), "Nova Az/El");
    EXPECT_EQ(dialog->RadioButton5->text(), "EasyComm1 LHA/Dec");
    EXPECT_EQ(dialog->RadioButton6->text(), "Nova LHA/Dec");
    EXPECT_TRUE(dialog->RadioButton3->isChecked());
    EXPECT_TRUE(dialog->CheckBox7->isChecked());
    EXPECT_EQ(dialog->CheckBox8->text(), "Active");

    QStringList ports, rates;
    for (int i = 0; i < dialog->ListBox1->count(); ++i) ports << dialog->ListBox1->item(i)->text();
    for (int i = 0; i < dialog->ListBox2->count(); ++i) rates << dialog->ListBox2->item(i)->text();
    EXPECT_EQ(ports, QStringList({"DDE", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}));
    EXPECT_EQ(rates, QStringList({"1200", "2400", "4800", "9600", "19200", "38400", "76800"}));
    EXPECT_EQ(dialog->Label2->text(), "Baud Rate:");
    EXPECT_LT(dialog->ListBox1->height(), 2 * dialog->ListBox1->sizeHintForRow(0));

    QStringList captions;
    for (QLabel* label : dialog->findChildren<QLabel*>()) captions << label->text();
    for (const char* caption : {"Lat: ", "Lon:", "Elev(m):", "Name:", "Com Port / DDE:", "Azm:", "Elev:"})
        EXPECT_TRUE(captions.contains(QLatin1String(caption))) << caption;
    EXPECT_EQ(dialog->Edit12->text(), "38.02");
    EXPECT_EQ(dialog->Edit14->text(), "300");
    EXPECT_EQ(dialog->Edit15->text(), "Brenlo");

    EXPECT_EQ(dialog->Edit15->toolTip(), " Max 16 characters! ");
    EXPECT_EQ(dialog->GroupBox5->toolTip(), " R-click to rename. ");
    EXPECT_EQ(dialog->GroupBox7->toolTip(), " R-click to rename. ");
    EXPECT_EQ(dialog->ListBox1->toolTip(), " Click to highlight selection!! ");
    EXPECT_EQ(dialog->ListBox2->toolTip(), " Click to highlight selection!! ");
    EXPECT_EQ(dialog->Edit10->toolTip(), " left/right arrows to increase/decrease Az ");
    EXPECT_EQ(dialog->Edit11->toolTip(), " up/dn arrows to increase/decrease El ");
}

TEST_F(SetupDialogTest, KeyboardFocusVisitsTheGroupsInTheirOrder) {
    // Each focusable control stands for its group box, or for itself when it is a button of the window.
    const auto unitOf = [this](QWidget* w) {
        for (QWidget* p = w; p && p != dialog.get(); p = p->parentWidget()) {
            if (auto* group = qobject_cast<QGroupBox*>(p)) return group->title();
        }
        if (auto* button = qobject_cast<QPushButton*>(w)) return button->text();
        return w->objectName();
    };
    QStringList order;
    QWidget* w = dialog->CheckBox1;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && dialog->isAncestorOf(w) && (order.isEmpty() || order.last() != unitOf(w)))
            order << unitOf(w);
        w = w->nextInFocusChain();
    } while (w != dialog->CheckBox1);
    EXPECT_EQ(order, QStringList({"Map Features", "Save", "Clock Offset from UTC (hrs):", "Tracking", "Park (deg)",
                                  "Cancel", "L-band Feed Offset (deg)", "S-band Feed Offset (deg)",
                                  "X-band Feed Offset (deg)", "Static Az/El Offset (deg)", "Output Format",
                                  "Observer Features"}));
}

TEST_F(SetupDialogTest, ShowingFillsEveryControlFromTheSettingsInEffect) {
    Settings& s = state.settings;
    s.sunHorizon = true;
    s.moonSubPoint = true;
    s.sunShadow = true;
    s.autoTime = false;
    s.clockOffset = -4.5;
    s.site = {52.517, 13.3889, 34, "DL0XYZ"};
    s.comPort = 0;
    s.baudRate = 76800;
    s.parkAz = 181.54;
    s.parkEl = -12.345;
    s.offsetAz = {0.25, 1.04, -2.2, 3};
    s.offsetEl = {-0.4, 0.5, 0.66, -0.7};
    s.activeFeed = Feed::S;
    s.feedCaption[2] = QStringLiteral("10 GHz horn");
    s.outputFormat = QStringLiteral("EasyLHA");
    dialog->show();

    EXPECT_TRUE(dialog->CheckBox1->isChecked());
    EXPECT_FALSE(dialog->CheckBox3->isChecked());
    EXPECT_FALSE(dialog->CheckBox2->isChecked());
    EXPECT_TRUE(dialog->CheckBox4->isChecked());
    EXPECT_TRUE(dialog->CheckBox5->isChecked());
    EXPECT_TRUE(dialog->CheckBox6->isEnabled());  // Darkness checked by the fill enables Moonlight
    EXPECT_TRUE(dialog->RadioButton2->isChecked());
    EXPECT_TRUE(dialog->Edit1->isVisible());
    EXPECT_EQ(dialog->Edit1->text(), "-4.5");
    EXPECT_EQ(dialog->Edit12->text(), "52.5170");
    EXPECT_EQ(dialog->Edit13->text(), "13.3889");
    EXPECT_EQ(dialog->Edit14->text(), "34");
    EXPECT_EQ(dialog->Edit15->text(), "DL0XYZ");
    EXPECT_EQ(dialog->ListBox1->currentRow(), 0);
    EXPECT_FALSE(dialog->ListBox2->isEnabled());
    EXPECT_FALSE(dialog->Label2->isEnabled());
    EXPECT_EQ(dialog->ListBox2->currentRow(), 6);
    EXPECT_EQ(dialog->ListBox2->currentItem()->text(), "76800");
    EXPECT_EQ(dialog->Edit2->text(), "181.5");
    EXPECT_EQ(dialog->Edit3->text(), "-12.3");
    EXPECT_EQ(dialog->Edit4->text(), "1.0");
    EXPECT_EQ(dialog->Edit5->text(), "0.5");
    EXPECT_EQ(dialog->Edit6->text(), "-2.2");
    EXPECT_EQ(dialog->Edit7->text(), "0.7");
    EXPECT_EQ(dialog->Edit8->text(), "3.0");
    EXPECT_EQ(dialog->Edit9->text(), "-0.7");
    EXPECT_EQ(dialog->Edit10->text(), "0.3");
    EXPECT_EQ(dialog->Edit11->text(), "-0.4");
    EXPECT_FALSE(dialog->CheckBox7->isChecked());
    EXPECT_TRUE(dialog->CheckBox8->isChecked());
    EXPECT_FALSE(dialog->CheckBox9->isChecked());
    EXPECT_EQ(s.activeFeed, Feed::S);
    EXPECT_EQ(dialog->GroupBox5->title(), "L-band Feed Offset (deg)");
    EXPECT_EQ(dialog->GroupBox7->title(), "10 GHz horn");
    EXPECT_TRUE(dialog->RadioButton5->isChecked());
    EXPECT_EQ(s.outputFormat, "EasyLHA");
    ExpectHourAngleLayout();
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_EQ(store.writeCount(), 0);
}

TEST_F(SetupDialogTest, FillChecksButtonsFromCodeWithTheirReactionsOnlyOnARealChange) {
    state.settings.outputFormat = QStringLiteral("Nova");
    state.settings.activeFeed = Feed::X;
    dialog->show();
    EXPECT_TRUE(dialog->RadioButton4->isChecked());
    EXPECT_TRUE(dialog->CheckBox9->isChecked());
    EXPECT_FALSE(dialog->CheckBox7->isChecked());
    dialog->hide();

    // A format of no button leaves the buttons and the format as they are; the labels follow the text.
    state.settings.outputFormat = QStringLiteral("Unknown");
    dialog->show();
    EXPECT_TRUE(dialog->RadioButton4->isChecked());
    EXPECT_EQ(state.settings.outputFormat, "Unknown");
    EXPECT_EQ(dialog->Label3->text(), "LHA:");
    EXPECT_FALSE(dialog->GroupBox5->isVisible());
    dialog->hide();

    // No feed in effect ticks no box, so a save keeps it so.
    state.settings.activeFeed = Feed::None;
    dialog->show();
    EXPECT_FALSE(dialog->CheckBox7->isChecked() || dialog->CheckBox8->isChecked() || dialog->CheckBox9->isChecked());
    EXPECT_EQ(state.settings.activeFeed, Feed::None);
    Click(dialog->Button1);
    EXPECT_EQ(Stored(store, "Active Feed"), "None");
    EXPECT_EQ(Stored(store, "Output Format"), "Nova");
}

TEST_F(SetupDialogTest, ClockBoxIsShownOnlyForAManualOffset) {
    state.settings.clockOffset = 1.0;
    dialog->show();
    EXPECT_TRUE(dialog->RadioButton1->isChecked());
    EXPECT_FALSE(dialog->Edit1->isVisible());
    Click(dialog->RadioButton2);
    EXPECT_TRUE(dialog->Edit1->isVisible());
    EXPECT_EQ(dialog->Edit1->text(), "1.0");
    TypeInto(dialog->Edit1, QStringLiteral("+5:30h"));  // the clock box has no key filter
    EXPECT_EQ(dialog->Edit1->text(), "+5:30h");
    Click(dialog->RadioButton1);
    EXPECT_FALSE(dialog->Edit1->isVisible());
    Click(dialog->RadioButton2);
    EXPECT_EQ(dialog->Edit1->text(), "1.0");
    TypeInto(dialog->Edit1, QStringLiteral("-3.5"));
    Click(dialog->Button1);
    EXPECT_EQ(Stored(store, "Auto Time"), "false");
    EXPECT_EQ(Stored(store, "TimeOff"), "-3.5");
    EXPECT_FALSE(state.settings.autoTime);
    EXPECT_DOUBLE_EQ(state.settings.clockOffset, -3.5);
}

TEST_F(SetupDialogTest, EmptyLatitudeAndNameBoxesSaveTheDefaultsAndANameIsCutTo16) {
    dialog->show();
    dialog->Edit12->clear();
    dialog->Edit15->clear();
    Click(dialog->Button1);
    EXPECT_EQ(Stored(store, "Observer Latitude"), "38.02");
    EXPECT_DOUBLE_EQ(state.settings.site.latitude, 38.02);
    EXPECT_EQ(Stored(store, "Observer Name"), "Observer");
    EXPECT_EQ(state.settings.site.name, "Observer");

    dialog->show();
    TypeInto(dialog->Edit15, QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    Click(dialog->Button1);
    EXPECT_EQ(Stored(store, "Observer Name"), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(state.settings.site.name, "ABCDEFGHIJKLMNOP");
    dialog->show();
    EXPECT_EQ(dialog->Edit15->text(), "ABCDEFGHIJKLMNOP");
}

TEST_F(SetupDialogTest, NumberBoxesTakeOnlyDigitsMinusPointAndBackspaceAndTheEditingShortcuts) {
    dialog->show();
    const std::vector<QLineEdit*> numberBoxes = {dialog->Edit2,  dialog->Edit3,  dialog->Edit4,  dialog->Edit5,
                                                 dialog->Edit6,  dialog->Edit7,  dialog->Edit8,  dialog->Edit9,
                                                 dialog->Edit10, dialog->Edit11, dialog->Edit12, dialog->Edit13,
                                                 dialog->Edit14};
    QApplication::clipboard()->setText(QStringLiteral("abc"));
    for (QLineEdit* box : numberBoxes) {
        TypeInto(box, QStringLiteral("a1 2,b.-3e+X"));
        EXPECT_EQ(box->text(), "12.-3") << box->objectName().toStdString();
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), "12.-") << box->objectName().toStdString();
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(box->text(), "12.-") << box->objectName().toStdString();
        // The editing shortcuts work; a paste keeps only the characters the box accepts.
        QApplication::clipboard()->setText(QStringLiteral("lat -33.8650\u00b0 S"));
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(box->text(), "-33.8650") << box->objectName().toStdString();
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(box->text(), "12.-") << box->objectName().toStdString();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), "12.-");
        QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
        EXPECT_EQ(box->text(), "") << box->objectName().toStdString();
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(box->text(), "12.-") << box->objectName().toStdString();
        QApplication::clipboard()->setText(QStringLiteral("abc"));
        QTest::keyClick(box, Qt::Key_Home);
        QTest::keyClick(box, Qt::Key_Delete);
        EXPECT_EQ(box->text(), "2.-") << box->objectName().toStdString();
    }
    TypeInto(dialog->Edit15, QStringLiteral("K1ABC/p #1"));
    EXPECT_EQ(dialog->Edit15->text(), "K1ABC/p #1");
}

TEST_F(SetupDialogTest, TabStillMovesTheFocusOutOfANumberBox) {
    dialog->show();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    dialog->Edit2->setFocus();
    QTest::keyClick(dialog->Edit2, Qt::Key_Tab);
    EXPECT_TRUE(dialog->Edit3->hasFocus());
    QTest::keyClick(dialog->Edit3, Qt::Key_Backtab);
    EXPECT_TRUE(dialog->Edit2->hasFocus());
}

TEST_F(SetupDialogTest, DdeDisablesTheBaudListAndAPortNumberSavedWhileTrackingOpensThePort) {
    state.tracking.trackingActive = true;
    dialog->show();
    EXPECT_TRUE(dialog->ListBox2->isEnabled());
    ClickListItem(dialog->ListBox1, 0);
    EXPECT_EQ(dialog->ListBox1->currentRow(), 0);
    EXPECT_FALSE(dialog->ListBox2->isEnabled());
    EXPECT_FALSE(dialog->Label2->isEnabled());
    ClickListItem(dialog->ListBox1, 3);
    EXPECT_EQ(dialog->ListBox1->currentItem()->text(), "3");
    EXPECT_TRUE(dialog->ListBox2->isEnabled());
    EXPECT_TRUE(dialog->Label2->isEnabled());
    Click(dialog->Button1);
    EXPECT_EQ(Stored(store, "Com Port"), "3");
    EXPECT_EQ(state.settings.comPort, 3);
    EXPECT_FALSE(state.tracking.ddeOutput);
    EXPECT_EQ(calls, QStringList({"stopTimer", "applySite", "openPort", "startTimer", "redrawMap"}));

    calls.clear();
    dialog->show();
    ClickListItem(dialog->ListBox1, 0);
    Click(dialog->Button1);
    EXPECT_EQ(Stored(store, "Com Port"), "0");
    EXPECT_TRUE(state.tracking.ddeOutput);
    EXPECT_EQ(calls, QStringList({"stopTimer", "applySite", "closePort", "startTimer", "redrawMap"}));
}

TEST_F(SetupDialogTest, AfterTrackDdeASaveWithThePortNumberShownGoesBackToThatPort) {
    state.settings.comPort = 2;
    state.tracking.trackingActive = true;
    state.tracking.ddeOutput = true;  // TRACK_DDE from another program
    dialog->show();
    EXPECT_EQ(dialog->ListBox1->currentItem()->text(), "2");
    Click(dialog->Button1);
    EXPECT_FALSE(state.tracking.ddeOutput);
    EXPECT_TRUE(calls.contains("openPort"));
}

TEST_F(SetupDialogTest, BaudRate76800IsTheSeventhItemAndIsStoredAsItsIndex) {
    state.settings.baudRate = 76800;
    dialog->show();
    EXPECT_EQ(dialog->ListBox2->currentRow(), 6);
    Click(dialog->Button1);
    EXPECT_EQ(Stored(store, "Baud Rate"), "6");
    EXPECT_EQ(state.settings.baudRate, 76800);

    dialog->show();
    ClickListItem(dialog->ListBox2, 2);
    Click(dialog->Button1);
    EXPECT_EQ(Stored(store, "Baud Rate"), "2");
    EXPECT_EQ(state.settings.baudRate, 4800);
}

TEST_F(SetupDialogTest, FeedTickedIsActiveAtOnceKeptAfterCancelAndStoredBySave) {
    dialog->show();
    ASSERT_TRUE(dialog->CheckBox7->isChecked());
    Click(dialog->CheckBox8);
    EXPECT_TRUE(dialog->CheckBox8->isChecked());
    EXPECT_FALSE(dialog->CheckBox7->isChecked());
    EXPECT_FALSE(dialog->CheckBox9->isChecked());
    EXPECT_EQ(state.settings.activeFeed, Feed::S);
    Click(dialog->Button2);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(state.settings.activeFeed, Feed::S);
    EXPECT_EQ(Stored(store, "Active Feed"), "");
    EXPECT_EQ(calls, QStringList({"redrawMap"}));

    dialog->show();
    EXPECT_TRUE(dialog->CheckBox8->isChecked());
    Click(dialog->Button1);
    EXPECT_EQ(Stored(store, "Active Feed"), "S");

    dialog->show();
    Click(dialog->CheckBox8);
    EXPECT_EQ(state.settings.activeFeed, Feed::None);
    Click(dialog->Button1);
    EXPECT_EQ(Stored(store, "Active Feed"), "None");

    // No feed in effect shows no tick (not the design-time L tick), so a save without edits keeps "None".
    dialog->show();
    EXPECT_FALSE(dialog->CheckBox7->isChecked() || dialog->CheckBox8->isChecked() || dialog->CheckBox9->isChecked());
    Click(dialog->Button1);
    EXPECT_EQ(Stored(store, "Active Feed"), "None");
    EXPECT_EQ(state.settings.activeFeed, Feed::None);
}

TEST_F(SetupDialogTest, NovaLhaDecRelabelsHidesTheFeedBoxesAndSwitchesTheFormatAtOnce) {
    dialog->show();
    Click(dialog->RadioButton6);
    EXPECT_EQ(state.settings.outputFormat, "NovaLHA");
    ExpectHourAngleLayout();
    EXPECT_EQ(Stored(store, "Output Format"), "");

    Click(dialog->RadioButton4);
    EXPECT_EQ(state.settings.outputFormat, "Nova");
    EXPECT_EQ(dialog->Label3->text(), "Azm:");
    EXPECT_EQ(dialog->Label12->text(), "Elev:");
    EXPECT_TRUE(dialog->GroupBox6->isVisible());
    Click(dialog->RadioButton5);
    Click(dialog->Button2);
    EXPECT_EQ(state.settings.outputFormat, "EasyLHA");
    dialog->show();
    Click(dialog->Button1);
    EXPECT_EQ(Stored(store, "Output Format"), "EasyLHA");
}

TEST_F(SetupDialogTest, ArrowReleasesNudgeTheStaticOffsetInEffectWithoutStoringIt) {
    store.write(kOptionsGroup, QStringLiteral("Static Offset Az"), QStringLiteral("0.0"));
    dialog->show();
    for (int i = 0; i < 3; ++i) QTest::keyClick(dialog->Edit10, Qt::Key_Right);
    EXPECT_EQ(dialog->Edit10->text(), "0.3");
    EXPECT_NEAR(state.settings.offsetAz[kStaticOffset], 0.3, 1e-12);
    EXPECT_EQ(Stored(store, "Static Offset Az"), "0.0");

    // A held key repeats presses and releases; only letting it go is a step.
    QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(dialog->Edit10, &repeated);
    EXPECT_NEAR(state.settings.offsetAz[kStaticOffset], 0.3, 1e-12);

    // The step starts from the value in effect; unsaved typing is replaced.
    QTest::keyClicks(dialog->Edit10, QStringLiteral("77"));
    QTest::keyClick(dialog->Edit10, Qt::Key_Left);
    EXPECT_EQ(dialog->Edit10->text(), "0.2");
    QTest::keyClick(dialog->Edit10, Qt::Key_Up);
    QTest::keyClick(dialog->Edit10, Qt::Key_A);
    EXPECT_NEAR(state.settings.offsetAz[kStaticOffset], 0.2, 1e-12);
    EXPECT_DOUBLE_EQ(state.settings.offsetEl[kStaticOffset], 0);

    QTest::keyClick(dialog->Edit11, Qt::Key_Down);
    QTest::keyClick(dialog->Edit11, Qt::Key_Down);
    QTest::keyClick(dialog->Edit11, Qt::Key_Up);
    QTest::keyClick(dialog->Edit11, Qt::Key_Right);
    EXPECT_EQ(dialog->Edit11->text(), "-0.1");
    EXPECT_NEAR(state.settings.offsetEl[kStaticOffset], -0.1, 1e-12);
    EXPECT_NEAR(state.settings.offsetAz[kStaticOffset], 0.2, 1e-12);

    Click(dialog->Button2);
    EXPECT_NEAR(state.settings.offsetAz[kStaticOffset], 0.2, 1e-12);
    dialog->show();
    Click(dialog->Button1);
    EXPECT_EQ(Stored(store, "Static Offset Az"), "0.2");
    EXPECT_EQ(Stored(store, "Static Offset El"), "-0.1");
}

TEST_F(SetupDialogTest, RightClickOnAFeedBoxRenamesItAndStoresTheCaptionAtOnce) {
    dialog->show();
    QString initial, title, label;
    AnswerPrompt(QStringLiteral("23 cm dish feed"), true, [&](QInputDialog* prompt) {
        initial = prompt->textValue();
        title = prompt->windowTitle();
        label = prompt->labelText();
    });
    QTest::mouseClick(dialog->GroupBox5, Qt::RightButton, {}, QPoint(3, 30));
    EXPECT_EQ(title, "Dish Offset Caption");
    EXPECT_EQ(label, "Enter caption for dish offset box.");
    EXPECT_EQ(initial, "L-band Feed Offset (deg)");
    EXPECT_EQ(dialog->GroupBox5->title(), "23 cm dish feed");
    EXPECT_EQ(state.settings.feedCaption[0], "23 cm dish feed");
    EXPECT_EQ(Stored(store, "Offset 1"), "23 cm dish feed");

    Click(dialog->Button2);
    EXPECT_EQ(Stored(store, "Offset 1"), "23 cm dish feed");
    EXPECT_EQ(Stored(store, "Observer Name"), "");

    // Cancel in the prompt changes nothing; an empty caption is taken.
    dialog->show();
    const int writes = store.writeCount();
    AnswerPrompt(QStringLiteral("ignored"), false);
    QTest::mouseClick(dialog->GroupBox7, Qt::RightButton, {}, QPoint(120, 5));
    EXPECT_EQ(dialog->GroupBox7->title(), "X-band Feed Offset (deg)");
    EXPECT_EQ(store.writeCount(), writes);
    AnswerPrompt(QString(), true);
    QTest::mouseClick(dialog->GroupBox6, Qt::RightButton, {}, QPoint(3, 30));
    EXPECT_EQ(dialog->GroupBox6->title(), "");
    EXPECT_EQ(state.settings.feedCaption[1], "");
    EXPECT_EQ(store.writeCount(), writes + 1);
}

TEST_F(SetupDialogTest, OnlyTheRightButtonOnTheBoxItselfOpensThePrompt) {
    dialog->show();
    const int writes = store.writeCount();
    QTest::mouseClick(dialog->GroupBox5, Qt::LeftButton, {}, QPoint(3, 30));
    QTest::mouseClick(dialog->GroupBox5, Qt::MiddleButton, {}, QPoint(3, 30));
    QTest::mouseClick(dialog->CheckBox7, Qt::RightButton);
    QLabel* azm = qobject_cast<QLabel*>(dialog->GroupBox5->childAt(12, 28));
    ASSERT_NE(azm, nullptr);
    QTest::mouseClick(azm, Qt::RightButton);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(store.writeCount(), writes);
    EXPECT_TRUE(dialog->CheckBox7->isChecked());
}

TEST_F(SetupDialogTest, DarknessEnablesMoonlightWhoseTickCountsEvenWhenDisabled) {
    dialog->show();
    EXPECT_FALSE(dialog->CheckBox6->isEnabled());
    Click(dialog->CheckBox5);
    EXPECT_TRUE(dialog->CheckBox6->isEnabled());
    Click(dialog->CheckBox6);
    Click(dialog->CheckBox5);
    EXPECT_FALSE(dialog->CheckBox6->isEnabled());
    EXPECT_TRUE(dialog->CheckBox6->isChecked());
    Click(dialog->Button1);
    EXPECT_EQ(Stored(store, "Sun Shadow"), "false");
    EXPECT_EQ(Stored(store, "Moon Shadow"), "true");
    EXPECT_FALSE(state.settings.sunShadow);
    EXPECT_TRUE(state.settings.moonShadow);
}

TEST_F(SetupDialogTest, ABadParkNumberIsReportedAndNothingIsWrittenOrApplied) {
    dialog->show();
    Click(dialog->CheckBox1);
    TypeInto(dialog->Edit12, QStringLiteral("45.5"));
    ClickListItem(dialog->ListBox1, 5);
    TypeInto(dialog->Edit2, QStringLiteral("1.2.3"));
    const Settings before = state.settings;
    Click(dialog->Button1);

    auto* box = dialog->findChild<QMessageBox*>(QStringLiteral("ErrorBox"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->text(), "'1.2.3' is not a valid floating point value");
    EXPECT_EQ(store.writeCount(), 0);
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_TRUE(cycle.isActive());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->focusWidget(), dialog->Edit2);
    EXPECT_EQ(state.settings.sunHorizon, before.sunHorizon);
    EXPECT_EQ(state.settings.site.latitude, before.site.latitude);
    EXPECT_EQ(state.settings.comPort, before.comPort);
    EXPECT_EQ(state.settings.parkAz, before.parkAz);
    box->close();

    // Mended, the same Save goes through.
    TypeInto(dialog->Edit2, QStringLiteral("123"));
    Click(dialog->Button1);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Stored(store, "Park Azm"), "123");
    EXPECT_EQ(Stored(store, "Observer Latitude"), "45.5");
    EXPECT_EQ(Stored(store, "Com Port"), "5");
    EXPECT_TRUE(cycle.isActive());
}

TEST_F(SetupDialogTest, SetupWhileOpenLeavesTheFieldsAsTheyAre) {
    dialog->show();
    TypeInto(dialog->Edit12, QStringLiteral("12.5"));
    Click(dialog->RadioButton2);
    TypeInto(dialog->Edit1, QStringLiteral("7"));
    dialog->show();
    EXPECT_EQ(dialog->Edit12->text(), "12.5");
    EXPECT_TRUE(dialog->RadioButton2->isChecked());
    EXPECT_EQ(dialog->Edit1->text(), "7");
}

TEST_F(SetupDialogTest, SavingWithoutEditsStoresTheDisplayFormAndRunsTheSaveInOrder) {
    dialog->show();
    Click(dialog->Button1);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Stored(store, "Observer Latitude"), "38.0200");
    EXPECT_EQ(Stored(store, "Observer Longitude"), "-78.6300");
    EXPECT_EQ(Stored(store, "Observer Height"), "100");
    EXPECT_EQ(Stored(store, "Park Azm"), "0.0");
    EXPECT_EQ(Stored(store, "Com Port"), "1");
    EXPECT_EQ(Stored(store, "Auto Time"), "true");
    EXPECT_EQ(Stored(store, "TimeOff"), "");
    EXPECT_DOUBLE_EQ(state.settings.clockOffset, 1.0);
    // Not tracking: a port number opens nothing.
    EXPECT_EQ(calls, QStringList({"stopTimer", "applySite", "startTimer", "redrawMap"}));
    EXPECT_TRUE(cycle.isActive());
}

TEST_F(SetupDialogTest, OnlyTheCloseButtonStoresThePosition) {
    dialog->show();
    dialog->move(140, 90);
    Click(dialog->Button1);
    dialog->show();
    Click(dialog->Button2);
    EXPECT_EQ(store.read(kPositionsGroup, QStringLiteral("Form2.Top")), "");
    calls.clear();
    dialog->show();
    const QPoint where = dialog->pos();
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(store.read(kPositionsGroup, QStringLiteral("Form2.Top")), QString::number(where.y()));
    EXPECT_EQ(store.read(kPositionsGroup, QStringLiteral("Form2.Left")), QString::number(where.x()));
    EXPECT_TRUE(calls.isEmpty());
}

// Every option changed through the controls, Save, a new start on the same native store: the next
// dialog shows every value back.
TEST(SetupDialogRestart, EveryOptionSavedIsShownBackAfterARestart) {
    FakeClock clock;
    {
        NativeSettingsStore store;
        AppState state;
        LoadSettings(store, clock, state.settings);
        TSMForm2 dialog(state, clock, store);
        dialog.show();
        for (QCheckBox* check : {dialog.CheckBox1, dialog.CheckBox2, dialog.CheckBox3, dialog.CheckBox4,
                                 dialog.CheckBox5, dialog.CheckBox6})
            Click(check);
        Click(dialog.RadioButton2);
        TypeInto(dialog.Edit1, QStringLiteral("9.5"));
        TypeInto(dialog.Edit12, QStringLiteral("-33.8568"));
        TypeInto(dialog.Edit13, QStringLiteral("151.2153"));
        TypeInto(dialog.Edit14, QStringLiteral("58"));
        TypeInto(dialog.Edit15, QStringLiteral("VK2 Sydney"));
        ClickListItem(dialog.ListBox1, 12);
        ClickListItem(dialog.ListBox2, 5);
        TypeInto(dialog.Edit2, QStringLiteral("270.5"));
        TypeInto(dialog.Edit3, QStringLiteral("-5"));
        const std::vector<QLineEdit*> feedBoxes = {dialog.Edit4, dialog.Edit5, dialog.Edit6,
                                                   dialog.Edit7, dialog.Edit8, dialog.Edit9};
        const QStringList feedTexts = {"1.5", "-0.5", "2.5", "0.25", "-3", "4"};
        for (int i = 0; i < 6; ++i) TypeInto(feedBoxes[i], feedTexts[i]);
        TypeInto(dialog.Edit10, QStringLiteral("0.7"));
        TypeInto(dialog.Edit11, QStringLiteral("-0.8"));
        Click(dialog.CheckBox9);
        Click(dialog.RadioButton4);
        AnswerPrompt(QStringLiteral("S-band horn"), true);
        QTest::mouseClick(dialog.GroupBox6, Qt::RightButton, {}, QPoint(3, 30));
        Click(dialog.Button1);
        ASSERT_FALSE(dialog.isVisible());
    }
    NativeSettingsStore store;
    AppState state;
    ASSERT_FALSE(LoadSettings(store, clock, state.settings).error);
    TSMForm2 dialog(state, clock, store);
    dialog.show();
    for (QCheckBox* check : {dialog.CheckBox1, dialog.CheckBox2, dialog.CheckBox3, dialog.CheckBox4,
                             dialog.CheckBox5, dialog.CheckBox6})
        EXPECT_TRUE(check->isChecked()) << check->objectName().toStdString();
    EXPECT_TRUE(dialog.RadioButton2->isChecked());
    EXPECT_EQ(dialog.Edit1->text(), "9.5");
    EXPECT_EQ(dialog.Edit12->text(), "-33.8568");
    EXPECT_EQ(dialog.Edit13->text(), "151.2153");
    EXPECT_EQ(dialog.Edit14->text(), "58");
    EXPECT_EQ(dialog.Edit15->text(), "VK2 Sydney");
    EXPECT_EQ(dialog.ListBox1->currentItem()->text(), "12");
    EXPECT_EQ(dialog.ListBox2->currentItem()->text(), "38400");
    EXPECT_EQ(dialog.Edit2->text(), "270.5");
    EXPECT_EQ(dialog.Edit3->text(), "-5.0");
    EXPECT_EQ(dialog.Edit4->text(), "1.5");
    EXPECT_EQ(dialog.Edit5->text(), "-0.5");
    EXPECT_EQ(dialog.Edit6->text(), "2.5");
    EXPECT_EQ(dialog.Edit7->text(), "0.3");
    EXPECT_EQ(dialog.Edit8->text(), "-3.0");
    EXPECT_EQ(dialog.Edit9->text(), "4.0");
    EXPECT_EQ(dialog.Edit10->text(), "0.7");
    EXPECT_EQ(dialog.Edit11->text(), "-0.8");
    EXPECT_TRUE(dialog.CheckBox9->isChecked());
    EXPECT_FALSE(dialog.CheckBox7->isChecked());
    EXPECT_TRUE(dialog.RadioButton4->isChecked());
    EXPECT_EQ(dialog.GroupBox6->title(), "S-band horn");
    EXPECT_EQ(state.settings.activeFeed, Feed::X);
    EXPECT_EQ(state.settings.outputFormat, "Nova");
    EXPECT_DOUBLE_EQ(state.settings.offsetEl[2], 0.25);
}

}  // namespace
}  // namespace skyrel

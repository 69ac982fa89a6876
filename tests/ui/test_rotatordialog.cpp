// The rotator dialog: the model list of the installed Hamlib and its filter, the refusal of a model
// number Hamlib does not know, Save into the settings file and the read-back after a restart, and the
// Test button against the dummy rotator. The radio dialog: its radio models, the band presets, the
// frequencies typed in MHz and stored in Hz, and the refusal of a step or frequency out of its range.
#include <gtest/gtest.h>

#include <QSettings>
#include <QSignalSpy>

#include "app/radio/radiosettings.h"
#include "app/rotator/hamlibsettings.h"
#include "tests/support/testenv.h"
#include "tests/support/uitest.h"
#include "ui/radiodialog.h"
#include "ui/rotatordialog.h"

namespace skyrel {
namespace {

using test::Click;
using test::FindMessageBox;

constexpr int kTestWaitMs = 15000;

QStringList VisibleModels(const QListWidget& list) {
    QStringList shown;
    for (int row = 0; row < list.count(); ++row)
        if (!list.item(row)->isHidden()) shown.append(list.item(row)->text());
    return shown;
}

TEST(RotatorDialog, ListsTheModelsRefusesAnUnknownOneAndSavesForTheNextStart) {
    Settings settings;
    settings.outputFormat = QStringLiteral("NovaLHA");
    NativeSettingsStore store;
    RotatorDialog dialog(store, settings);
    dialog.show();
    // An LHA/Dec format is chosen: the dialog says what the rotator gets instead.
    EXPECT_TRUE(dialog.formatNote->isVisible());

    dialog.filterBox->setText(QStringLiteral("NET rotctl"));
    EXPECT_EQ(VisibleModels(*dialog.modelList), QStringList{QStringLiteral("Hamlib / NET rotctl / 2")});
    dialog.filterBox->setText(QStringLiteral("1"));
    EXPECT_TRUE(VisibleModels(*dialog.modelList).contains(QStringLiteral("Hamlib / Dummy / 1")));
    dialog.filterBox->clear();
    EXPECT_GT(VisibleModels(*dialog.modelList).size(), 20);

    QSignalSpy saved(&dialog, &RotatorDialog::saved);
    dialog.modelBox->setText(QStringLiteral("999999"));
    Click(dialog.saveButton);
    QMessageBox* refusal = FindMessageBox(QStringLiteral("RotatorOptionsBox"));
    ASSERT_NE(refusal, nullptr);
    EXPECT_EQ(refusal->text(), QStringLiteral("The installed Hamlib knows no rotator model '999999'"));
    refusal->close();
    EXPECT_TRUE(saved.isEmpty());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(store.read(kHamlibGroup, QStringLiteral("Model")).isEmpty());

    // Choosing in the list fills the number; the device must fit the network model.
    dialog.filterBox->setText(QStringLiteral("NET rotctl"));
    test::ClickListItem(dialog.modelList, dialog.modelList->row(dialog.modelList->findItems(
                                              QStringLiteral("Hamlib / NET rotctl / 2"), Qt::MatchExactly)[0]));
    EXPECT_EQ(dialog.modelBox->text(), QStringLiteral("2"));
    dialog.enabledBox->setChecked(true);
    dialog.deviceBox->setText(QStringLiteral("/dev/ttyUSB0"));
    Click(dialog.saveButton);
    refusal = FindMessageBox(QStringLiteral("RotatorOptionsBox"));
    ASSERT_NE(refusal, nullptr);
    refusal->close();
    dialog.deviceBox->setText(QStringLiteral("dish.local:4600"));
    dialog.speedList->setCurrentText(QStringLiteral("19200"));
    // A limit the next start would refuse is refused here already.
    dialog.minAzimuthBox->setText(QStringLiteral("600"));
    Click(dialog.saveButton);
    refusal = FindMessageBox(QStringLiteral("RotatorOptionsBox"));
    ASSERT_NE(refusal, nullptr);
    EXPECT_EQ(refusal->text(), QStringLiteral("Limits: '600' is out of range: the limit must be from -540 to 540 degrees,"
                                              " or nothing for the rotator's own"));
    refusal->close();
    dialog.minAzimuthBox->clear();
    Click(dialog.saveButton);
    ASSERT_EQ(saved.size(), 1);
    EXPECT_FALSE(dialog.isVisible());

    // A restart: a second settings object reads the file as the next start will.
    QSettings file(QSettings::NativeFormat, QSettings::UserScope, kOrganizationName, kApplicationName);
    EXPECT_EQ(file.value(QStringLiteral("Hamlib/Enabled")).toString(), QStringLiteral("True"));
    EXPECT_EQ(file.value(QStringLiteral("Hamlib/Model")).toString(), QStringLiteral("2"));
    EXPECT_EQ(file.value(QStringLiteral("Hamlib/Device")).toString(), QStringLiteral("dish.local:4600"));
    EXPECT_EQ(file.value(QStringLiteral("Hamlib/Speed")).toString(), QStringLiteral("19200"));
    NativeSettingsStore restarted;
    RotatorDialog next(restarted, settings);
    next.show();
    EXPECT_TRUE(next.enabledBox->isChecked());
    EXPECT_EQ(next.modelList->currentItem()->text(), QStringLiteral("Hamlib / NET rotctl / 2"));
    EXPECT_EQ(next.deviceBox->text(), QStringLiteral("dish.local:4600"));
    EXPECT_EQ(next.speedList->currentText(), QStringLiteral("19200"));

    // Test opens the dummy rotator away from this thread and shows where it points.
    next.modelBox->setText(QStringLiteral("1"));
    QSignalSpy tested(&next, &RotatorDialog::testFinished);
    Click(next.testButton);
    ASSERT_TRUE(tested.wait(kTestWaitMs));
    EXPECT_EQ(next.testResult->text(), QStringLiteral("Az 0.0  El 0.0"));
}

TEST(RadioDialog, RadioModelsPresetsHertzAndRangesOfTheFrequencies) {
    NativeSettingsStore store;
    RadioDialog dialog(store);
    dialog.show();
    dialog.filterBox->setText(QStringLiteral("NET rigctl"));
    EXPECT_EQ(VisibleModels(*dialog.modelList), QStringList{QStringLiteral("Hamlib / NET rigctl / 2")});
    EXPECT_EQ(dialog.modelList->currentItem()->text(), QStringLiteral("Hamlib / NET rigctl / 2"));

    // The 10 GHz preset fills both sky boxes; the converters are typed in MHz too.
    dialog.presetChosen(static_cast<int>(kRadioBandPresetsHz.size()));
    EXPECT_EQ(dialog.rxSkyBox->text(), QStringLiteral("10368.100000"));
    EXPECT_EQ(dialog.txSkyBox->text(), QStringLiteral("10368.100000"));
    dialog.rxLoBox->setText(QStringLiteral("10224"));
    dialog.txLoBox->setText(QStringLiteral("10512"));
    dialog.txInvertBox->setChecked(true);
    dialog.modeList->setCurrentText(QStringLiteral("Constant On Moon"));

    QSignalSpy saved(&dialog, &RadioDialog::saved);
    dialog.stepBox->setText(QStringLiteral("0"));
    Click(dialog.saveButton);
    QMessageBox* refusal = FindMessageBox(QStringLiteral("RadioOptionsBox"));
    ASSERT_NE(refusal, nullptr);
    EXPECT_EQ(refusal->text(), QStringLiteral("Step: '0' is out of range: the step must be from 1 to 1e+06 Hz"));
    refusal->close();
    EXPECT_TRUE(saved.isEmpty());

    dialog.stepBox->setText(QStringLiteral("10"));
    Click(dialog.saveButton);
    ASSERT_EQ(saved.size(), 1);
    const RadioSettings stored = LoadRadioSettings(store);
    EXPECT_EQ(stored.rxSky, 10368.1e6);
    EXPECT_EQ(stored.rx.loHz, 10224e6);
    EXPECT_EQ(stored.tx.loHz, 10512e6);
    EXPECT_TRUE(stored.tx.inverting);
    EXPECT_EQ(stored.mode, nav::RadioMode::ConstantOnMoon);
    EXPECT_TRUE(stored == saved.first().at(0).value<RadioSettings>());
}

}  // namespace
}  // namespace skyrel

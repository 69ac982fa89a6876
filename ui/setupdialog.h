// The setup dialog: edits every option and saves it. A few controls act on the running program at once,
// before and without a save: the feed "Active" boxes, the output format, the arrow-key nudge of the static
// offset and the renaming of a feed box.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <functional>

#include "app/station/appstate.h"
#include "app/settings/settingswriter.h"
#include "navlib/clocksource.h"
#include "ui/secondarywindow.h"

namespace skyrel {

// What the dialog needs of the other windows. Unset hooks do nothing.
struct SetupHooks {
    std::function<void()> applySite;           // the main window's ApplySite
    std::function<void()> stopTimer;           // the main window's one-second cycle
    std::function<void()> startTimer;
    std::function<void()> openPortIfTracking;  // the rotator port, opened only while tracking
    std::function<void()> closePort;
    std::function<void()> redrawMapIfVisible;
};

// Whether a number box takes a typed character: a digit, '-', '.' or Backspace.
bool IsNumberBoxCharacter(QChar character);

class TSMForm2 : public SecondaryWindow {
    Q_OBJECT

public:
    // FormCreate: created hidden at its stored position.
    TSMForm2(AppState& state, const nav::ClockSource& clock, SettingsStore& store);

    void setHooks(SetupHooks hooks);

    // The boxes and choices as they stand, for the writer. A list without a selection keeps the value
    // in effect.
    SetupForm currentForm() const;

    void Button1Click();  // Save
    void Button2Click();  // Cancel
    void RadioButton1Click();
    void RadioButton2Click();
    void CheckBox5Click();
    void ListBox1Click();
    void CheckBox7Click();
    void CheckBox8Click();
    void CheckBox9Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void RadioButton5Click();
    void RadioButton6Click();
    void Edit10KeyUp(int key);
    void Edit11KeyUp(int key);
    void GroupBox5MouseDown(Qt::MouseButton button);
    void GroupBox6MouseDown(Qt::MouseButton button);
    void GroupBox7MouseDown(Qt::MouseButton button);

    // Controls keep their numbered names; they are also reachable by object name ("Edit10").
    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3, *GroupBox4, *GroupBox5, *GroupBox6, *GroupBox7;
    QGroupBox *GroupBox8, *GroupBox9, *GroupBox10;
    QRadioButton *RadioButton1, *RadioButton2, *RadioButton3, *RadioButton4, *RadioButton5, *RadioButton6;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9, *Edit10, *Edit11;
    QLineEdit *Edit12, *Edit13, *Edit14, *Edit15;
    QCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox5, *CheckBox6;
    QCheckBox *CheckBox7, *CheckBox8, *CheckBox9;
    QListWidget *ListBox1, *ListBox2;
    QLabel *Label2, *Label3, *Label4, *Label11, *Label12;
    QPushButton *Button1, *Button2;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void FillOnShow();
    void feedBoxClicked(int feedIndex);
    void chooseOutputFormat(int formatIndex);
    void nudgeStaticOffset(double& offset, QLineEdit* box, int key, int upKey, int downKey);
    void showFormatLabels(const QString& outputFormat);
    void renameFeedCaption(int feedIndex);
    void showStoreFailure();
    void showConversionError(const SetupFormError& error);
    QLineEdit* boxOf(SetupField field) const;

    AppState& state_;
    const nav::ClockSource& clock_;
    SetupHooks hooks_;
    std::array<QGroupBox*, 3> feedGroups_{};
    std::array<QCheckBox*, 3> feedActive_{};
    std::array<QRadioButton*, 4> formatButtons_{};
    std::array<QLineEdit*, 13> numberBoxes_{};  // the boxes with the key filter
};

}  // namespace skyrel

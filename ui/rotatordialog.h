// The rotator dialog (Menu -> "Rotator..."): whether the pointing goes to a Hamlib rotator, which model,
// on which device and at which speed. Not modal: the one-second cycle runs on while it is open. "Test"
// opens the rotator as the boxes stand, reads its position and closes it, away from the window's thread.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>
#include <optional>

#include "app/rotator/hamlibmodule.h"
#include "app/rotator/hamlibsettings.h"
#include "app/settings/settings.h"
#include "app/settings/settingsstore.h"
#include "ui/hamlibmodelpicker.h"

namespace skyrel {

class RotatorDialog : public QWidget {
    Q_OBJECT

public:
    // `settings`: the options in effect, for the output format the note about LHA/Dec depends on.
    RotatorDialog(SettingsStore& store, const Settings& settings, QWidget* parent = nullptr);

    // The boxes as they stand.
    HamlibSettings currentOptions() const;

    // Refuses an unknown model number, a device that does not fit the model, a step that is no number of
    // 0 or more, move seconds that are no range and a limit that is no number, with a message; otherwise
    // stores the options, announces them and closes.
    void saveClicked();
    void testClicked();

    QCheckBox* enabledBox;
    QLineEdit* filterBox;    // the model picker's
    QListWidget* modelList;  // the model picker's
    QLineEdit* modelBox;     // the model picker's
    QLineEdit* deviceBox;    // the model picker's
    QComboBox* speedList;    // the model picker's
    QLineEdit* stepBox;
    QLineEdit* moveSecondsBox;
    // Empty: the open rotator's own limit, shown as the placeholder once a test has read it.
    QLineEdit *minAzimuthBox, *maxAzimuthBox, *minElevationBox, *maxElevationBox;
    QCheckBox* waitAtRiseBox;
    QCheckBox* stepSerialLinesBox;
    QLabel* formatNote;
    QPushButton* testButton;
    QLabel* testResult;
    QPushButton* saveButton;
    QPushButton* cancelButton;

signals:
    // The options were stored; they take effect at once.
    void saved(const skyrel::HamlibSettings& options);
    // A test ended; `result` is what testResult shows.
    void testFinished(const QString& result);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void fillFromStore();
    // Why the motion boxes cannot be stored, or none.
    std::optional<QString> motionProblem() const;
    void showRotatorLimits(const RotatorLimits& limits);

    SettingsStore& store_;
    const Settings& settings_;
    HamlibModelPicker* models_ = nullptr;
};

}  // namespace skyrel

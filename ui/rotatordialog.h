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

#include "app/rotator/hamlibsettings.h"
#include "app/settings/settings.h"
#include "app/settings/settingsstore.h"

namespace skyrel {

class RotatorDialog : public QWidget {
    Q_OBJECT

public:
    // `settings`: the options in effect, for the output format the note about LHA/Dec depends on.
    RotatorDialog(SettingsStore& store, const Settings& settings, QWidget* parent = nullptr);

    // The boxes as they stand.
    HamlibSettings currentOptions() const;

    // Refuses an unknown model number or a device that does not fit the model, with a message; otherwise
    // stores the four options, announces them and closes.
    void saveClicked();
    void testClicked();

    QCheckBox* enabledBox;
    QLineEdit* filterBox;
    QListWidget* modelList;
    QLineEdit* modelBox;
    QLineEdit* deviceBox;
    QComboBox* speedList;
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
    void fillModelList();
    void filterModels(const QString& text);
    void modelChosen();
    void showModelNumber(const QString& text);
    void fillFromStore();

    SettingsStore& store_;
    const Settings& settings_;
};

}  // namespace skyrel

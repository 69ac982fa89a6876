// The radio dialog (Menu -> "Radio..."): whether the radio follows the Moon's Doppler, which Hamlib model
// on which device, the convention, the sky frequencies (with a preset for each EME band), the converters,
// the step and the split. Not modal. "Test" opens the radio as the boxes stand, reads its dial and closes
// it, away from the window's thread.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>
#include <optional>

#include "app/radio/radiosettings.h"
#include "app/settings/settingsstore.h"
#include "ui/hamlibmodelpicker.h"

namespace skyrel {

class RadioDialog : public QWidget {
    Q_OBJECT

public:
    explicit RadioDialog(SettingsStore& store, QWidget* parent = nullptr);

    // The boxes as they stand; frequencies are typed in MHz.
    RadioSettings currentOptions() const;

    // Refuses an unknown model, a device that does not fit it and a frequency or step that is no number
    // in its range, with a message; otherwise stores the options, announces them and closes.
    void saveClicked();
    void testClicked();
    // A band preset puts its sky frequency into both sky boxes.
    void presetChosen(int index);

    QCheckBox* enabledBox;
    QLineEdit* filterBox;    // the model picker's
    QListWidget* modelList;  // the model picker's
    QLineEdit* modelBox;     // the model picker's
    QLineEdit* deviceBox;    // the model picker's
    QComboBox* speedList;    // the model picker's
    QComboBox* modeList;
    QComboBox* presetList;
    QLineEdit *rxSkyBox, *txSkyBox;  // MHz
    QLineEdit *rxLoBox, *txLoBox;    // MHz, 0 without a converter
    QCheckBox *rxInvertBox, *txInvertBox;
    QLineEdit* stepBox;  // Hz
    QComboBox* splitList;
    QPushButton* testButton;
    QLabel* testResult;
    QPushButton* saveButton;
    QPushButton* cancelButton;

signals:
    void saved(const skyrel::RadioSettings& options);
    void testFinished(const QString& result);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void fillFromStore();
    // Why the frequency boxes cannot be stored, or none.
    std::optional<QString> frequencyProblem() const;

    SettingsStore& store_;
    HamlibModelPicker* models_ = nullptr;
};

}  // namespace skyrel

// The choice of a Hamlib model and its link, as the rotator and radio dialogs offer it: a filter box, the
// list of every model the installed Hamlib knows ("maker / model / number"), the model number box, the
// device and the serial speed. Choosing in the list fills the number; typing a number selects its row. The
// dialog places the boxes.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QObject>
#include <QPushButton>
#include <QThread>
#include <memory>
#include <optional>
#include <vector>

#include "app/rotator/hamlibmodels.h"
#include "app/rotator/hamlibmodule.h"
#include "app/rotator/hamlibsettings.h"

namespace skyrel {

class HamlibModelPicker : public QObject {
    Q_OBJECT

public:
    // The boxes are children of `dialog`; `devicePlaceholder` says what the device box takes.
    HamlibModelPicker(QWidget* dialog, const QString& devicePlaceholder);

    // Lists the models once; later calls change nothing (the list is read from Hamlib on first use).
    void fill(const std::vector<HamlibModel>& models);
    bool filled() const { return modelList->count() > 0; }

    // The stored link into the boxes, the filter cleared; a speed the list lacks is added to it.
    void showLink(const HamlibDeviceSettings& link);
    // The boxes as they stand, with `enabled` (the dialog's own box): a number that is none reads as 0.
    HamlibDeviceSettings link(bool enabled) const;
    // Why the model and device cannot drive a device of `kind` (HamlibOptionsProblem), or none.
    std::optional<QString> problem(HamlibKind kind) const;

    QLineEdit* filterBox;
    QListWidget* modelList;
    QLineEdit* modelBox;
    QLineEdit* deviceBox;
    QComboBox* speedList;

private:
    void filterModels(const QString& text);
    void modelChosen();
    void showModelNumber(const QString& text);
};

// TestInBackground - a dialog's Test: `probe` (a one-off open of the device, which may block) runs away from
// the window's thread with `button` disabled and "Testing..." shown; then, on the window's thread,
// `describe` turns its result into the text `shown` takes, which also goes to `finished`.
template <class Probe, class Describe, class Finished>
void TestInBackground(QWidget* owner, QPushButton* button, QLabel* shown, Probe probe, Describe describe,
                      Finished finished) {
    button->setEnabled(false);
    shown->setText(QStringLiteral("Testing..."));
    auto result = std::make_shared<decltype(probe())>();
    QThread* thread = QThread::create([result, probe] { *result = probe(); });
    QObject::connect(thread, &QThread::finished, owner, [button, shown, result, describe, finished] {
        const QString text = describe(*result);
        shown->setText(text);
        button->setEnabled(true);
        finished(text);
    });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

}  // namespace skyrel

// The choice of a Hamlib model, as the rotator and radio dialogs offer it: a filter box, the list of every
// model the installed Hamlib knows ("maker / model / number"), and the model number box. Choosing in the
// list fills the number; typing a number selects its row. The dialog places the three boxes.
#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QObject>
#include <vector>

#include "app/rotator/hamlibmodule.h"

namespace skyrel {

class HamlibModelPicker : public QObject {
    Q_OBJECT

public:
    // The boxes are children of `dialog`.
    explicit HamlibModelPicker(QWidget* dialog);

    // Lists the models once; later calls change nothing (the list is read from Hamlib on first use).
    void fill(const std::vector<HamlibModel>& models);
    bool filled() const { return modelList->count() > 0; }

    QLineEdit* filterBox;
    QListWidget* modelList;
    QLineEdit* modelBox;

private:
    void filterModels(const QString& text);
    void modelChosen();
    void showModelNumber(const QString& text);
};

}  // namespace skyrel

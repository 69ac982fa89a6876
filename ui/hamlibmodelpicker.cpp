#include "ui/hamlibmodelpicker.h"

#include <array>

#include "app/rotator/hamlibmodels.h"
#include "app/settings/numbertext.h"

namespace skyrel {
namespace {

constexpr int kModelRole = Qt::UserRole;
constexpr std::array kSerialSpeeds = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

}  // namespace

HamlibModelPicker::HamlibModelPicker(QWidget* dialog, const QString& devicePlaceholder) : QObject(dialog) {
    filterBox = new QLineEdit(dialog);
    filterBox->setPlaceholderText(QStringLiteral("Filter: maker, model or number"));
    modelList = new QListWidget(dialog);
    modelBox = new QLineEdit(dialog);
    deviceBox = new QLineEdit(dialog);
    deviceBox->setPlaceholderText(devicePlaceholder);
    speedList = new QComboBox(dialog);
    for (const int speed : kSerialSpeeds) speedList->addItem(QString::number(speed));
    connect(filterBox, &QLineEdit::textChanged, this, &HamlibModelPicker::filterModels);
    connect(modelList, &QListWidget::currentItemChanged, this, &HamlibModelPicker::modelChosen);
    connect(modelBox, &QLineEdit::textChanged, this, &HamlibModelPicker::showModelNumber);
}

void HamlibModelPicker::fill(const std::vector<HamlibModel>& models) {
    if (filled()) return;
    for (const HamlibModel& model : models) {
        auto* item = new QListWidgetItem(HamlibModelText(model), modelList);
        item->setData(kModelRole, model.number);
    }
    showModelNumber(modelBox->text());
}

void HamlibModelPicker::showLink(const HamlibDeviceSettings& link) {
    filterBox->clear();
    modelBox->setText(QString::number(link.model));
    deviceBox->setText(link.device);
    const QString speedText = QString::number(link.speed);
    if (speedList->findText(speedText) < 0) speedList->addItem(speedText);
    speedList->setCurrentText(speedText);
}

HamlibDeviceSettings HamlibModelPicker::link(bool enabled) const {
    HamlibDeviceSettings link;
    link.enabled = enabled;
    link.model = ParseInteger(modelBox->text()).value_or(0);
    link.device = deviceBox->text().trimmed();
    link.speed = ParseInteger(speedList->currentText()).value_or(0);
    return link;
}

std::optional<QString> HamlibModelPicker::problem(HamlibKind kind) const {
    return HamlibOptionsProblem(modelBox->text(), deviceBox->text(), kind);
}

void HamlibModelPicker::filterModels(const QString& text) {
    const QString wanted = text.trimmed();
    for (int row = 0; row < modelList->count(); ++row) {
        QListWidgetItem* item = modelList->item(row);
        const bool number = item->data(kModelRole).toString() == wanted;
        item->setHidden(!wanted.isEmpty() && !number && !item->text().contains(wanted, Qt::CaseInsensitive));
    }
}

void HamlibModelPicker::modelChosen() {
    if (const QListWidgetItem* item = modelList->currentItem()) modelBox->setText(item->data(kModelRole).toString());
}

void HamlibModelPicker::showModelNumber(const QString& text) {
    const std::optional<int> number = ParseInteger(text);
    for (int row = 0; row < modelList->count(); ++row) {
        if (number && modelList->item(row)->data(kModelRole).toInt() == *number) {
            const QSignalBlocker keepTyping(modelList);
            modelList->setCurrentRow(row);
            modelList->scrollToItem(modelList->item(row));
            return;
        }
    }
    modelList->setCurrentRow(-1);
}

}  // namespace skyrel

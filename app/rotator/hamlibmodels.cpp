#include "app/rotator/hamlibmodels.h"

#include <algorithm>

#include "app/rotator/hamlibloader.h"
#include "app/settings/numbertext.h"

namespace skyrel {
namespace {

std::vector<HamlibModel> ReadModels(std::vector<HamlibModel> (HamlibLibrary::*list)()) {
    HamlibLibrary* const hamlib = HamlibModule().library;
    if (!hamlib) return {};
    const auto lock = LockHamlib();
    std::vector<HamlibModel> models = (hamlib->*list)();
    std::sort(models.begin(), models.end(),
              [](const HamlibModel& a, const HamlibModel& b) { return a.number < b.number; });
    return models;
}

const HamlibModel* FindModel(const std::vector<HamlibModel>& models, int number) {
    const auto found = std::find_if(models.begin(), models.end(),
                                    [number](const HamlibModel& m) { return m.number == number; });
    return found == models.end() ? nullptr : &*found;
}

}  // namespace

std::unique_lock<std::mutex> LockHamlib() {
    static std::mutex mutex;
    return std::unique_lock<std::mutex>(mutex);
}

const std::vector<HamlibModel>& HamlibModels() {
    static const std::vector<HamlibModel> models = ReadModels(&HamlibLibrary::models);
    return models;
}

const std::vector<HamlibModel>& HamlibRadioModels() {
    static const std::vector<HamlibModel> models = ReadModels(&HamlibLibrary::radioModels);
    return models;
}

const HamlibModel* FindHamlibModel(int number) { return FindModel(HamlibModels(), number); }

const HamlibModel* FindHamlibRadioModel(int number) { return FindModel(HamlibRadioModels(), number); }

std::optional<QString> HamlibOptionsProblem(const QString& modelText, const QString& device, HamlibKind kind) {
    const bool radio = kind == HamlibKind::Radio;
    const std::optional<int> number = ParseInteger(modelText);
    const HamlibModel* model = !number ? nullptr : radio ? FindHamlibRadioModel(*number) : FindHamlibModel(*number);
    if (!model && !HamlibModule().library) return HamlibModule().error;
    if (!model)
        return QStringLiteral("The installed Hamlib knows no %1 model '%2'")
            .arg(radio ? QStringLiteral("radio") : QStringLiteral("rotator"), modelText.trimmed());
    const HamlibDevice parsed = ParseHamlibDevice(device.toStdString(), model->link,
                                                  radio ? kDefaultRadioDaemonPort : kDefaultRotatorDaemonPort);
    if (!parsed.valid) return QStringLiteral("Device: %1").arg(QString::fromStdString(parsed.error));
    return std::nullopt;
}

QString HamlibModelText(const HamlibModel& model) {
    return QStringLiteral("%1 / %2 / %3").arg(model.maker, model.name, QString::number(model.number));
}

QString HamlibModelText(int number, HamlibKind kind) {
    const HamlibModel* model = kind == HamlibKind::Radio ? FindHamlibRadioModel(number) : FindHamlibModel(number);
    return model ? HamlibModelText(*model) : QStringLiteral("model %1").arg(number);
}

}  // namespace skyrel

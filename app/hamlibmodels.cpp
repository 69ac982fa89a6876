#include "app/hamlibmodels.h"

#include <hamlib/rotator.h>

#include <algorithm>

#include "app/numbertext.h"

namespace skyrel {
namespace {

int AddModel(const rot_caps* caps, void* data) {
    auto* models = static_cast<std::vector<HamlibModel>*>(data);
    models->push_back({static_cast<int>(caps->rot_model), QString::fromUtf8(caps->mfg_name),
                       QString::fromUtf8(caps->model_name), LinkOfPortType(caps->port_type)});
    return 1;  // go on with the next model
}

std::vector<HamlibModel> ReadModels() {
    std::vector<HamlibModel> models;
    const auto lock = LockHamlib();
    rot_load_all_backends();
    rot_list_foreach(AddModel, &models);
    std::sort(models.begin(), models.end(),
              [](const HamlibModel& a, const HamlibModel& b) { return a.number < b.number; });
    return models;
}

}  // namespace

std::unique_lock<std::mutex> LockHamlib() {
    static std::mutex mutex;
    static std::once_flag quiet;
    std::call_once(quiet, [] { rig_set_debug(RIG_DEBUG_NONE); });
    return std::unique_lock<std::mutex>(mutex);
}

const std::vector<HamlibModel>& HamlibModels() {
    static const std::vector<HamlibModel> models = ReadModels();
    return models;
}

const HamlibModel* FindHamlibModel(int number) {
    const std::vector<HamlibModel>& models = HamlibModels();
    const auto found = std::find_if(models.begin(), models.end(),
                                    [number](const HamlibModel& m) { return m.number == number; });
    return found == models.end() ? nullptr : &*found;
}

HamlibLink LinkOfPortType(int portType) {
    switch (portType) {
        case RIG_PORT_NONE: return HamlibLink::None;
        case RIG_PORT_NETWORK:
        case RIG_PORT_UDP_NETWORK: return HamlibLink::Network;
        default: return HamlibLink::Device;
    }
}

std::optional<QString> HamlibOptionsProblem(const QString& modelText, const QString& device) {
    const std::optional<int> number = ParseInteger(modelText);
    const HamlibModel* model = number ? FindHamlibModel(*number) : nullptr;
    if (!model) return QStringLiteral("The installed Hamlib knows no rotator model '%1'").arg(modelText.trimmed());
    const HamlibDevice parsed = ParseHamlibDevice(device.toStdString(), model->link);
    if (!parsed.valid) return QStringLiteral("Device: %1").arg(QString::fromStdString(parsed.error));
    return std::nullopt;
}

QString HamlibModelText(const HamlibModel& model) {
    return QStringLiteral("%1 / %2 / %3").arg(model.maker, model.name, QString::number(model.number));
}

}  // namespace skyrel

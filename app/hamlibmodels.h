// The rotator models the installed Hamlib knows, and the one lock every call into Hamlib's shared
// tables goes through: Hamlib keeps its backends and its list of open rotators in process-wide lists
// that it does not guard itself.
#pragma once

#include <QString>
#include <mutex>
#include <optional>
#include <vector>

#include "app/hamlibdevice.h"

namespace skyrel {

struct HamlibModel {
    int number = 0;   // Hamlib's model number, as stored under "Model"
    QString maker;    // e.g. "Hamlib" for the dummy and network models
    QString name;     // e.g. "NET rotctl"
    HamlibLink link = HamlibLink::Device;
};

// Held around rot_init, rot_open, rot_close, rot_cleanup and the model list. The first lock also
// silences Hamlib's own diagnostics on standard error: failures reach the user through this program.
std::unique_lock<std::mutex> LockHamlib();

// Every rotator model of the installed Hamlib, by ascending number. Read from Hamlib once; later calls
// return the same list.
const std::vector<HamlibModel>& HamlibModels();

// The model of that number, or none when the installed Hamlib does not know it.
const HamlibModel* FindHamlibModel(int number);

// How a model of Hamlib's port type `portType` (enum rig_port_e) is reached.
HamlibLink LinkOfPortType(int portType);

// Why options naming model text `modelText` on device text `device` cannot drive a rotator: a model
// number the installed Hamlib does not know, or a device text that does not fit the model's link. None
// when they can.
std::optional<QString> HamlibOptionsProblem(const QString& modelText, const QString& device);

// "maker / model / number", as the rotator dialog lists the models.
QString HamlibModelText(const HamlibModel& model);

}  // namespace skyrel

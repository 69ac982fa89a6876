// The rotator models the installed Hamlib knows, and the one lock every call into Hamlib's shared
// tables goes through: Hamlib keeps its backends and its list of open rotators in process-wide lists
// that it does not guard itself.
#pragma once

#include <QString>
#include <mutex>
#include <optional>
#include <vector>

#include "app/rotator/hamlibmodule.h"

namespace skyrel {

// Held around creating, opening and releasing a rotator or a radio and around the model lists.
std::unique_lock<std::mutex> LockHamlib();

// Every rotator model of the installed Hamlib, by ascending number. Read from Hamlib once; later calls
// return the same list. Empty when the Hamlib module cannot be loaded.
const std::vector<HamlibModel>& HamlibModels();

// The model of that number, or none when the installed Hamlib does not know it.
const HamlibModel* FindHamlibModel(int number);

// The same for the radio models.
const std::vector<HamlibModel>& HamlibRadioModels();
const HamlibModel* FindHamlibRadioModel(int number);

enum class HamlibKind { Rotator, Radio };

// Why options naming model text `modelText` on device text `device` cannot drive a rotator (or a radio):
// the Hamlib module cannot be loaded, a model number the installed Hamlib does not know, or a device text
// that does not fit the model's link. None when they can.
std::optional<QString> HamlibOptionsProblem(const QString& modelText, const QString& device,
                                            HamlibKind kind = HamlibKind::Rotator);

// "maker / model / number", as the dialogs list the models.
QString HamlibModelText(const HamlibModel& model);
// The same for a model number of `kind`, or "model <number>" when the installed Hamlib does not know it.
QString HamlibModelText(int number, HamlibKind kind);

}  // namespace skyrel

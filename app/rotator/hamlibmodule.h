// The station's narrow door to Hamlib. Only the Hamlib module (skyrel-hamlib.so, built from
// app/rotator/hamlibmodule/) includes Hamlib's headers and links the library; the station loads it on first use
// (hamlibloader.h), so a station that never drives a Hamlib rotator or radio never maps Hamlib, whose relocated
// capability tables alone cost some megabytes of memory in every process that links it.
// The module and the station are built together from these declarations; the module is never paired with
// a station of another build.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "app/rotator/hamlibdevice.h"

namespace skyrel {

struct HamlibModel {
    int number = 0;   // Hamlib's model number, as stored under "Model"
    QString maker;    // e.g. "Hamlib" for the dummy and network models
    QString name;     // e.g. "NET rotctl"
    HamlibLink link = HamlibLink::Device;
};

struct RotatorPosition {
    double azimuth = 0;    // degrees from north through east, as the rotator counts them
    double elevation = 0;  // degrees above the horizon
};

// The rotator's own range of motion (degrees), from Hamlib's capabilities as the open rotator reports
// them. An azimuth range may start below 0 or end above 360 (overlap).
struct RotatorLimits {
    double minAzimuth = 0, maxAzimuth = 360;
    double minElevation = 0, maxElevation = 90;
};

// One rotator of Hamlib from its creation to its release: destroying it closes the rotator (when it
// was opened) and frees it. Creating, opening and destroying one take LockHamlib() (hamlibmodels.h).
// A failed call returns Hamlib's reason in words; an empty text means success.
class HamlibRig {
public:
    virtual ~HamlibRig() = default;

    // How the model is reached, from its capabilities.
    virtual HamlibLink link() const = 0;
    // Sets the configuration token `name` (e.g. "rot_pathname") to `value`; false when refused.
    virtual bool setConf(const char* name, const QByteArray& value) = 0;
    virtual QString open() = 0;
    // The range of the open rotator.
    virtual RotatorLimits limits() const = 0;
    virtual QString setPosition(RotatorPosition position) = 0;
    virtual QString readPosition(RotatorPosition& position) = 0;
    // Halts the rotator wherever it is.
    virtual QString stop() = 0;
};

// One radio of Hamlib, from its creation to its release, as HamlibRig is for a rotator. Frequencies are in
// Hz at the radio's dial. Receive is the VFO in use; transmit, once split is on, the other one.
class HamlibRadioDevice {
public:
    virtual ~HamlibRadioDevice() = default;

    virtual HamlibLink link() const = 0;
    // Sets the configuration token `name` (e.g. "rig_pathname") to `value`; false when refused.
    virtual bool setConf(const char* name, const QByteArray& value) = 0;
    virtual QString open() = 0;
    virtual QString setFrequency(double hz) = 0;
    virtual QString readFrequency(double& hz) = 0;
    // Turns split on: from now on the radio transmits on the other VFO.
    virtual QString setSplit() = 0;
    virtual QString setTransmitFrequency(double hz) = 0;
    // Whether the radio is transmitting; a radio that cannot tell reads as receiving.
    virtual QString readTransmitting(bool& transmitting) = 0;
};

// What the module offers. Every call takes LockHamlib().
class HamlibLibrary {
public:
    // Every rotator model Hamlib knows, in Hamlib's order.
    virtual std::vector<HamlibModel> models() = 0;
    // A new rotator of model `model`, not yet opened; none when Hamlib knows no such model.
    virtual std::unique_ptr<HamlibRig> create(int model) = 0;
    // Every radio model Hamlib knows, in Hamlib's order.
    virtual std::vector<HamlibModel> radioModels() = 0;
    // A new radio of model `model`, not yet opened; none when Hamlib knows no such model.
    virtual std::unique_ptr<HamlibRadioDevice> createRadio(int model) = 0;

protected:
    ~HamlibLibrary() = default;  // the module's one library lives as long as the process
};

// The module's entry point: its library, with Hamlib's own diagnostics on standard error silenced
// (failures reach the user through this program).
inline constexpr char kHamlibModuleEntry[] = "skyrel_hamlib_library";
using HamlibModuleEntry = HamlibLibrary* (*)();

}  // namespace skyrel

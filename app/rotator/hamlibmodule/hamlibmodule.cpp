// The Hamlib module: the station's calls into Hamlib's rotators and radios (app/rotator/hamlibmodule.h), in a shared object of its own
// that the station loads on first use.
#include <hamlib/rig.h>
#include <hamlib/rotator.h>

#include "app/rotator/hamlibmodule.h"

namespace skyrel {
namespace {

QString ErrorText(int code) { return code == RIG_OK ? QString() : QString::fromUtf8(rigerror2(code)).trimmed(); }

HamlibLink LinkOfPortType(rig_port_e portType) {
    switch (portType) {
        case RIG_PORT_NONE: return HamlibLink::None;
        case RIG_PORT_NETWORK:
        case RIG_PORT_UDP_NETWORK: return HamlibLink::Network;
        default: return HamlibLink::Device;
    }
}

// Rotator and radio capabilities name their model alike.
template <class Caps>
HamlibModel ModelOfCaps(const Caps& caps, int number) {
    return {number, QString::fromUtf8(caps.mfg_name), QString::fromUtf8(caps.model_name), LinkOfPortType(caps.port_type)};
}

int AddModel(const rot_caps* caps, void* data) {
    static_cast<std::vector<HamlibModel>*>(data)->push_back(ModelOfCaps(*caps, static_cast<int>(caps->rot_model)));
    return 1;  // go on with the next model
}

int AddRadioModel(const rig_caps* caps, void* data) {
    static_cast<std::vector<HamlibModel>*>(data)->push_back(ModelOfCaps(*caps, static_cast<int>(caps->rig_model)));
    return 1;
}

class Rig final : public HamlibRig {
public:
    explicit Rig(ROT* rot) : rot_(rot) {}
    ~Rig() override {
        // Closing a rotator that never opened is refused by Hamlib and harmless.
        rot_close(rot_);
        rot_cleanup(rot_);
    }
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    HamlibLink link() const override { return LinkOfPortType(rot_->caps->port_type); }
    bool setConf(const char* name, const QByteArray& value) override {
        return rot_set_conf(rot_, rot_token_lookup(rot_, name), value.constData()) == RIG_OK;
    }
    QString open() override { return ErrorText(rot_open(rot_)); }
    RotatorLimits limits() const override {
        return {rot_->state.min_az, rot_->state.max_az, rot_->state.min_el, rot_->state.max_el};
    }
    QString setPosition(RotatorPosition position) override {
        return ErrorText(rot_set_position(rot_, static_cast<azimuth_t>(position.azimuth),
                                          static_cast<elevation_t>(position.elevation)));
    }
    QString readPosition(RotatorPosition& position) override {
        azimuth_t azimuth = 0;
        elevation_t elevation = 0;
        const int code = rot_get_position(rot_, &azimuth, &elevation);
        if (code == RIG_OK) position = {azimuth, elevation};
        return ErrorText(code);
    }
    QString stop() override { return ErrorText(rot_stop(rot_)); }

private:
    ROT* rot_;
};

class Radio final : public HamlibRadioDevice {
public:
    explicit Radio(RIG* rig) : rig_(rig) {}
    ~Radio() override {
        rig_close(rig_);
        rig_cleanup(rig_);
    }
    Radio(const Radio&) = delete;
    Radio& operator=(const Radio&) = delete;

    HamlibLink link() const override { return LinkOfPortType(rig_->caps->port_type); }
    bool setConf(const char* name, const QByteArray& value) override {
        return rig_set_conf(rig_, rig_token_lookup(rig_, name), value.constData()) == RIG_OK;
    }
    QString open() override {
        // The dial is read back every second to see the operator's hand on the knob: Hamlib's cache of it
        // would answer with the value just set.
        rig_set_cache_timeout_ms(rig_, HAMLIB_CACHE_ALL, 0);
        return ErrorText(rig_open(rig_));
    }
    QString setFrequency(double hz) override { return ErrorText(rig_set_freq(rig_, RIG_VFO_CURR, hz)); }
    QString readFrequency(double& hz) override {
        freq_t frequency = 0;
        const int code = rig_get_freq(rig_, RIG_VFO_CURR, &frequency);
        if (code == RIG_OK) hz = frequency;
        return ErrorText(code);
    }
    QString setSplit() override { return ErrorText(rig_set_split_vfo(rig_, RIG_VFO_CURR, RIG_SPLIT_ON, RIG_VFO_B)); }
    QString setTransmitFrequency(double hz) override { return ErrorText(rig_set_split_freq(rig_, RIG_VFO_CURR, hz)); }
    QString readTransmitting(bool& transmitting) override {
        ptt_t ptt = RIG_PTT_OFF;
        const int code = rig_get_ptt(rig_, RIG_VFO_CURR, &ptt);
        if (code == -RIG_ENAVAIL || code == -RIG_ENIMPL) {
            transmitting = false;
            return {};
        }
        if (code == RIG_OK) transmitting = ptt != RIG_PTT_OFF;
        return ErrorText(code);
    }

private:
    RIG* rig_;
};

class Library final : public HamlibLibrary {
public:
    Library() { rig_set_debug(RIG_DEBUG_NONE); }

    std::vector<HamlibModel> models() override {
        std::vector<HamlibModel> models;
        rot_load_all_backends();
        rot_list_foreach(AddModel, &models);
        return models;
    }
    std::unique_ptr<HamlibRig> create(int model) override {
        ROT* rot = rot_init(model);
        return rot ? std::make_unique<Rig>(rot) : nullptr;
    }
    std::vector<HamlibModel> radioModels() override {
        std::vector<HamlibModel> models;
        rig_load_all_backends();
        rig_list_foreach(AddRadioModel, &models);
        return models;
    }
    std::unique_ptr<HamlibRadioDevice> createRadio(int model) override {
        RIG* rig = rig_init(model);
        return rig ? std::make_unique<Radio>(rig) : nullptr;
    }
};

}  // namespace
}  // namespace skyrel

extern "C" __attribute__((visibility("default"))) skyrel::HamlibLibrary* skyrel_hamlib_library() {
    static skyrel::Library library;
    return &library;
}

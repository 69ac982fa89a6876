// The Hamlib module: the station's calls into Hamlib (app/rotator/hamlibmodule.h), in a shared object of its own
// that the station loads on first use.
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

int AddModel(const rot_caps* caps, void* data) {
    auto* models = static_cast<std::vector<HamlibModel>*>(data);
    models->push_back({static_cast<int>(caps->rot_model), QString::fromUtf8(caps->mfg_name),
                       QString::fromUtf8(caps->model_name), LinkOfPortType(caps->port_type)});
    return 1;  // go on with the next model
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
};

}  // namespace
}  // namespace skyrel

extern "C" __attribute__((visibility("default"))) skyrel::HamlibLibrary* skyrel_hamlib_library() {
    static skyrel::Library library;
    return &library;
}

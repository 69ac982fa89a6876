#include "app/radio/radiosession.h"

#include <cmath>

#include "app/rotator/hamlibloader.h"
#include "app/rotator/hamlibmodels.h"
#include "app/rotator/hamlibopen.h"

namespace skyrel {

std::unique_ptr<RadioSession> RadioSession::Open(const RadioSettings& settings, QString& error) {
    HamlibLibrary* const hamlib = HamlibModule().library;
    if (!hamlib) {
        error = HamlibModule().error;
        return nullptr;
    }
    BlockBrokenPipeOnThisThread();
    const QString name = HamlibModelText(settings.model, HamlibKind::Radio);
    std::unique_ptr<HamlibRadioDevice> radio;
    {
        const auto lock = LockHamlib();
        radio = hamlib->createRadio(settings.model);
    }
    if (!radio) {
        error = QStringLiteral("the installed Hamlib knows no radio model %1").arg(settings.model);
        return nullptr;
    }
    std::unique_ptr<RadioSession> session(new RadioSession(std::move(radio)));
    const HamlibPort port{settings.device, settings.speed, "rig_pathname", kDefaultRadioDaemonPort};
    if (const QString failure = OpenHamlibDevice(*session->radio_, name, port, session->description_);
        !failure.isEmpty()) {
        error = failure;
        return nullptr;
    }
    if (settings.split == RadioSplit::Rig && !session->succeeded(session->radio_->setSplit(), error)) return nullptr;
    return session;
}

RadioSession::RadioSession(std::unique_ptr<HamlibRadioDevice> radio) : radio_(std::move(radio)) {}

RadioSession::~RadioSession() {
    const auto lock = LockHamlib();
    radio_.reset();
}

bool RadioSession::succeeded(const QString& failure, QString& error) const {
    if (failure.isEmpty()) return true;
    error = QStringLiteral("%1: %2").arg(description_, failure);
    return false;
}

std::optional<double> RadioSession::receiveDial(QString& error) {
    double hz = 0;
    if (!succeeded(radio_->readFrequency(hz), error)) return std::nullopt;
    // A dial that is no frequency is a fault of the radio or its daemon; it must not become a sky frequency.
    if (!std::isfinite(hz) || hz <= 0) {
        error = QStringLiteral("%1: radio reports an invalid frequency (%2)").arg(description_).arg(hz);
        return std::nullopt;
    }
    return hz;
}

std::optional<bool> RadioSession::transmitting(QString& error) {
    bool on = false;
    if (!succeeded(radio_->readTransmitting(on), error)) return std::nullopt;
    return on;
}

bool RadioSession::setReceiveDial(double hz, QString& error) { return succeeded(radio_->setFrequency(hz), error); }

bool RadioSession::setTransmitDial(double hz, QString& error) {
    return succeeded(radio_->setTransmitFrequency(hz), error);
}

RadioProbe ProbeRadio(const RadioSettings& settings) {
    RadioProbe probe;
    if (const std::unique_ptr<RadioSession> session = RadioSession::Open(settings, probe.error))
        probe.receiveDial = session->receiveDial(probe.error);
    return probe;
}

}  // namespace skyrel

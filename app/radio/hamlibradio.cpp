#include "app/radio/hamlibradio.h"

namespace skyrel {

HamlibRadio::Following HamlibRadio::Device::Fresh(const RadioSettings& settings) {
    return {.session = nullptr, .tuning = StartTuning(settings)};
}

bool HamlibRadio::Device::Open(Following& f, const RadioSettings& settings, QString& error) {
    f.session = RadioSession::Open(settings, error);
    // A reopened radio is set afresh: what its dials hold after the loss is unknown. Its sky frequencies,
    // adopted ones included, stay.
    f.tuning.rxDialSet.reset();
    f.tuning.txDialSet.reset();
    return f.session != nullptr;
}

// Reads the radio, works out the second and sends what moved. False (with the reason in `error`) when
// the radio did not answer.
bool HamlibRadio::Device::Serve(Following& f, const RadioSettings& settings, const RadioSecond& request, bool keyed,
                                RadioReport& report, QString& error) {
    RadioSession& session = *f.session;
    const std::optional<double> dial = session.receiveDial(error);
    if (!dial) return false;
    const std::optional<bool> transmitting = session.transmitting(error);
    if (!transmitting) return false;
    RadioSecond second = request;
    second.rxDialRead = *dial;
    second.transmitting = *transmitting || keyed;
    const RadioStep step = NextRadioStep(f.tuning, settings, second);
    if (step.setRx && !session.setReceiveDial(*step.setRx, error)) return false;
    if (step.setTx && !session.setTransmitDial(*step.setTx, error)) return false;
    report.mode = second.mode;
    report.step = step;
    report.rxSky = f.tuning.rxSky;
    report.txSky = f.tuning.txSky;
    report.transmitting = second.transmitting;
    report.split = settings.split == RadioSplit::Rig;
    return true;
}

QString HamlibRadio::Device::Unreachable(const QString& reason) {
    return QStringLiteral("Radio not reachable: %1").arg(reason);
}

HamlibRadio::HamlibRadio(QObject* parent)
    : QObject(parent),
      worker_([this] { QMetaObject::invokeMethod(this, &HamlibRadio::deliver, Qt::QueuedConnection); }) {
    qRegisterMetaType<RadioReport>();
}

void HamlibRadio::request(nav::RadioMode mode, double homeRangeRate, double dxRangeRate) {
    worker_.request({.mode = mode, .homeRangeRate = homeRangeRate, .dxRangeRate = dxRangeRate});
}

void HamlibRadio::setKeyed(bool keyed) {
    worker_.changeExtra([keyed](bool& stored) { stored = keyed; });
}

void HamlibRadio::deliver() {
    auto taken = worker_.take();
    if (taken.failure) emit unreachable(*taken.failure);
    if (taken.report) emit reported(*taken.report);
}

}  // namespace skyrel

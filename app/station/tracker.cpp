#include "app/station/tracker.h"

#include "app/rotator/rotatormotion.h"
#include "app/station/pointing.h"

namespace skyrel {

Tracker::Tracker(TrackingState& state, const Settings& settings, RotatorPort& port, QObject* parent)
    : QObject(parent), state_(state), settings_(settings), port_(port) {
    connect(&hamlib_, &HamlibRotator::reported, this, [this](const RotatorReport& report) {
        const AntennaStatus status = ReportStatus(report, riseWait_);
        emit antennaStatusChanged(status);
        emit antennaPositionForEndpoint(AntennaItemText(report, status));
    });
    connect(&hamlib_, &HamlibRotator::unreachable, this, [this](const QString& message) {
        emit antennaStatusChanged(UnreachableStatus());
        // A client must not go on reading the last position as if the antenna still stood there.
        emit antennaPositionForEndpoint(kRotatorNotReachable.toLatin1());
        emit rotatorUnreachable(message);
    });
}

void Tracker::choose(TrackMode target) {
    emit menuChecked(target, true);
    // Off stops the output while the mode still says what ran; every other choice is in effect before
    // its output starts.
    if (target == TrackMode::Off) StopTracking();
    else state_.trackMode = target;
    const auto hasTitle = [](TrackMode mode) { return mode == TrackMode::Sun || mode == TrackMode::Moon; };
    if (hasTitle(target)) emit titleTracked(target, true);
    for (const TrackMode other : kTrackModes) {
        if (other == target) continue;
        emit menuChecked(other, false);
        if (hasTitle(other)) emit titleTracked(other, false);
    }
    if (target == TrackMode::Off) state_.trackMode = TrackMode::Off;
    else StartTracking();
}

bool Tracker::StartTracking() {
    if (!state_.ddeOutput && !OpenOutput()) return false;
    state_.trackingActive = true;
    lastSerialLine_.reset();
    emit statusCaptionChanged(state_.trackMode == TrackMode::Park ? QStringLiteral("Parking Active")
                                                                  : QStringLiteral("Tracking Active"));
    emit statusBoxShown(true);
    showAntennaStatus();
    return true;
}

void Tracker::StopTracking() {
    if (!state_.ddeOutput) CloseOutput();
    outputLost_ = false;
    state_.trackingActive = false;
    emit statusBoxShown(false);
    showAntennaStatus();
}

bool Tracker::OpenOutput() {
    if (!hamlibOutput()) return OpenRotatorPort();
    // A rotator that does not answer is no reason to stop: it is tried again in the background.
    if (!hamlib_.active()) startHamlib();
    return true;
}

void Tracker::startHamlib() {
    hamlib_.start(hamlibSettings_);
    // The new start knows no pass yet.
    plan_.reset();
}

void Tracker::CloseOutput() {
    hamlib_.stop();
    CloseRotatorPort();
}

void Tracker::showAntennaStatus() {
    const bool shown = state_.trackingActive && hamlibOutput();
    emit antennaStatusShown(shown);
    if (shown) emit antennaStatusChanged({});
}

void Tracker::setHamlibSettings(const HamlibSettings& settings) {
    // Only options that change where the pointing goes restart the running output: reopening a serial
    // port for a save that left the Hamlib rotator off could fail and end the program.
    const bool outputChanges = settings.enabled != hamlibSettings_.enabled || (settings.enabled && settings != hamlibSettings_);
    const bool restart = outputChanges && state_.trackingActive && !state_.ddeOutput;
    if (restart) CloseOutput();
    hamlibSettings_ = settings;
    if (restart) OpenOutput();
    showAntennaStatus();
}

bool Tracker::OpenRotatorPort() {
    if (ending_) return false;
    if (port_.isOpen()) return true;
    if (port_.open(settings_.comPort, settings_.baudRate)) return true;
    ending_ = true;
    emit portOpenFailed(port_.errorString());
    return false;
}

void Tracker::CloseRotatorPort() {
    if (port_.isOpen()) port_.close();
}

void Tracker::UseEndpointOutput() {
    state_.ddeOutput = true;
    CloseOutput();
    outputLost_ = false;
    showAntennaStatus();
}

void Tracker::UseSerialOutput() {
    state_.ddeOutput = false;
    if (state_.trackingActive) OpenOutput();
    showAntennaStatus();
}

bool Tracker::SendPointing(double first, double second, const nav::SkyState& sky) {
    const PointingLine pointing = MakePointing(first, second, state_.trackMode, settings_, sky);
    if (state_.ddeOutput) {
        emit lineForEndpoint(pointing.line);
    } else if (!pointing.line.isEmpty() && serialLineDue(first, second)) {
        // The port is closed after a failed write and opened again here, a second later, so that an
        // adapter that was unplugged and comes back is driven again. While it stays away nothing is sent
        // and no message is repeated: the one error message came when the write failed, and the loss is
        // told once until lines flow again.
        if (!port_.isOpen() && !port_.open(settings_.comPort, settings_.baudRate)) {
            setOutputLost(true, port_.errorString());
            return true;
        }
        if (!port_.write(pointing.line)) {
            const QString message = port_.errorString();
            port_.close();
            setOutputLost(true, message);
            emit writeFailed(message);
            return false;
        }
        setOutputLost(false);
        lastSerialLine_ = RotatorPosition{first, second};
    }
    emit statusTextsChanged(pointing.statusFirst, pointing.statusSecond);
    return true;
}

bool Tracker::serialLineDue(double first, double second) const {
    if (!hamlibSettings_.stepSerialLines || hamlibSettings_.step <= 0 || !lastSerialLine_) return true;
    return AxisDistance({first, second}, *lastSerialLine_) >= hamlibSettings_.step;
}

void Tracker::setOutputLost(bool lost, const QString& reason) {
    if (lost == outputLost_) return;
    outputLost_ = lost;
    emit outputLostChanged(lost, reason);
}

void Tracker::planPassOf(TrackMode body, const nav::SkyState& sky) {
    const bool up = TrackedBody(body, sky)->elevation > 0;
    const bool set = bodyWasUp_ && !up;
    bodyWasUp_ = up;
    // A plan made for another source is no plan for this one.
    const bool sameTarget = plan_ && plan_->body == body && plan_->source == settings_.source;
    if (sameTarget && !set && UtcDays(sky.clock) < plan_->endsAt) return;
    plan_ = PlanPass(sky, settings_.site, body, settings_.source);
    hamlib_.planPass(plan_->path);
}

void Tracker::SendHamlibSecond(const nav::SkyState& sky) {
    const TrackMode mode = state_.trackMode;
    RotatorRequest request;
    request.mayMove = MayMoveAt(hamlibSettings_.moveSeconds, sky.clock.second);
    riseWait_.clear();
    double azimuth = settings_.parkAz;
    double elevation = settings_.parkEl;
    if (const nav::BodyState* tracked = TrackedBody(mode, sky)) {
        planPassOf(mode, sky);
        request.planned = true;
        const nav::BodyState& body = *tracked;
        azimuth = body.azimuth;
        elevation = body.elevation;
        if (body.elevation <= 0) {
            if (!hamlibSettings_.waitAtRise || !plan_->riseAt) {
                hamlib_.request(request);  // only read: the position shown stays current
                return;
            }
            // Waiting at the rise: its azimuth, the elevation at the minimum the limits allow.
            azimuth = plan_->riseAzimuth;
            elevation = 0;
            riseWait_ = RiseWaitText(*plan_->riseAt);
        }
    }
    // Hamlib rotators take azimuth and elevation whatever the line format.
    CorrectAzEl(azimuth, elevation, mode, settings_);
    request.wanted = RotatorPosition{azimuth, elevation};
    hamlib_.request(request);
    const PointingLine shown = FormatPointing(azimuth, elevation, mode, kDefaultOutputFormat);
    emit statusTextsChanged(shown.statusFirst, shown.statusSecond);
}

bool Tracker::SendTrackingOutput(const nav::SkyState& sky) {
    if (!state_.trackingActive || ending_) return true;
    if (hamlibOutput()) {
        SendHamlibSecond(sky);
        return true;
    }
    if (const nav::BodyState* body = TrackedBody(state_.trackMode, sky))
        return body->elevation > 0 ? SendPointing(body->azimuth, body->elevation, sky) : true;
    if (state_.trackMode == TrackMode::Park) return SendPointing(settings_.parkAz, settings_.parkEl, sky);
    return true;
}

}  // namespace skyrel

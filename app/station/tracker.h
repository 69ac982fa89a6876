// Tracking control: what the antenna follows, the serial link's opening and closing with it, and the
// one line a second the cycle sends while tracking, or, with a Hamlib rotator enabled, the position that
// rotator is commanded and what it reports back. The window shows what the signals tell it.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <optional>

#include "app/station/antennastatus.h"
#include "app/rotator/hamlibrotator.h"
#include "app/rotator/hamlibsettings.h"
#include "app/rotator/rotatorport.h"
#include "app/settings/settings.h"
#include "app/station/passplan.h"
#include "app/station/trackingstate.h"
#include "navlib/skystate.h"

namespace skyrel {

class Tracker : public QObject {
    Q_OBJECT

public:
    Tracker(TrackingState& state, const Settings& settings, RotatorPort& port, QObject* parent = nullptr);

    // A choice in the Track menu (also made by the endpoint's commands): its menu item ticked, its panel
    // title (the Sun's or the Moon's) marked, every other item and title cleared, and tracking started, or
    // stopped for Off.
    void choose(TrackMode target);

    // Opens the port unless output goes to the endpoint; false when it failed (the program is ending).
    bool StartTracking();
    void StopTracking();
    // Opens the port with the port number and speed in effect, unless it is open. A failure is the end
    // of the program: portOpenFailed once, and false from then on.
    bool OpenRotatorPort();
    void CloseRotatorPort();

    // The lines go to the local endpoint from now on; the serial port (or the Hamlib rotator) closes,
    // tracking goes on.
    void UseEndpointOutput();
    // The lines go to the serial port (or the Hamlib rotator, when enabled) from now on; while tracking it
    // opens at once.
    void UseSerialOutput();

    // The Hamlib rotator's options in effect. While tracking with output off the endpoint, a change
    // moves the output between the serial port and the rotator at once.
    void setHamlibSettings(const HamlibSettings& settings);
    const HamlibSettings& hamlibSettings() const { return hamlibSettings_; }
    // Whether the pointing goes to the Hamlib rotator: it is enabled and the output is not on the endpoint.
    bool hamlibOutput() const { return hamlibSettings_.enabled && !state_.ddeOutput; }

    // One line of the target position to the serial port or the endpoint (degrees; the correction of the
    // output format is applied here); a serial line inside the step is left out when the user asked for
    // that. False when writing failed: the rest of that cycle is skipped.
    bool SendPointing(double first, double second, const nav::SkyState& sky);

    // The tracking step of the one-second cycle: while tracking, the Sun or the Moon above the horizon,
    // or the park position. A Hamlib rotator is read every second; below the horizon it is sent to the
    // rise when it waits there. False when the rest of the cycle is to be skipped.
    bool SendTrackingOutput(const nav::SkyState& sky);

signals:
    void menuChecked(TrackMode item, bool checked);
    // A panel title (Sun or Moon) shows whether that body is being tracked.
    void titleTracked(TrackMode body, bool tracked);
    void statusCaptionChanged(const QString& caption);
    // The status box is uncovered while tracking and hidden otherwise.
    void statusBoxShown(bool shown);
    void statusTextsChanged(const QString& first, const QString& second);
    // The latest pointing line while output goes to the local endpoint (empty for an unknown format).
    void lineForEndpoint(const QByteArray& line);
    // The port would not open (`reason` from the system): the program has to end.
    void portOpenFailed(const QString& reason);
    void writeFailed(const QString& message);
    // The status box's rows of the Hamlib rotator are shown (while tracking with its output) or hidden.
    void antennaStatusShown(bool shown);
    void antennaStatusChanged(const skyrel::AntennaStatus& status);
    // The rotator's latest reported position, as the endpoint's antenna item shows it.
    void antennaPositionForEndpoint(const QByteArray& text);
    // The rotator could not be opened or stopped answering: said once; tracking goes on and the
    // rotator is tried again every 5 seconds.
    void rotatorUnreachable(const QString& message);

    // The serial output stopped reaching the device (`lost`, with the system's reason) or lines flow
    // again after that. Told once per change, never once a second; stopping tracking or moving the output
    // to the endpoint ends a loss without a word.
    void outputLostChanged(bool lost, const QString& reason);

private:
    void setOutputLost(bool lost, const QString& reason = {});
    // Opens the serial port or starts the Hamlib rotator, as the options say; false when the port failed.
    bool OpenOutput();
    void CloseOutput();
    void showAntennaStatus();
    void startHamlib();
    // The Hamlib rotator's request of this second: the target, its rise while it is down, or only a read.
    void SendHamlibSecond(const nav::SkyState& sky);
    // The pass of the Sun or the Moon in `plan_`, searched again for a new target, after a set and
    // when the last search ran out.
    void planPassOf(TrackMode body, const nav::SkyState& sky);
    // Whether a serial line for this target is due: always, unless the user put the lines on the step.
    bool serialLineDue(double first, double second) const;

    TrackingState& state_;
    const Settings& settings_;
    RotatorPort& port_;
    // After a failed open the program is ending: nothing more is sent or reopened.
    bool ending_ = false;
    bool outputLost_ = false;
    HamlibSettings hamlibSettings_;
    HamlibRotator hamlib_;
    std::optional<PassPlan> plan_;
    bool bodyWasUp_ = false;
    QString riseWait_;
    std::optional<RotatorPosition> lastSerialLine_;  // the target of the last line written, while tracking  // "waiting for the rise at HH:MM" while the rotator waits there
};

}  // namespace skyrel

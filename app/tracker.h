// Tracking control: what the antenna follows, the serial link's opening and closing with it, and the
// one line a second the cycle sends while tracking. The window shows what the signals tell it.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include "app/rotatorport.h"
#include "app/settings.h"
#include "app/trackingstate.h"
#include "navlib/skystate.h"

namespace skyrel {

class Tracker : public QObject {
    Q_OBJECT

public:
    Tracker(TrackingState& state, const Settings& settings, RotatorPort& port, QObject* parent = nullptr);

    // A choice in the Track menu (also made by the endpoint's commands): menu ticks, panel titles and the
    // tracking switch, in the order the menu has always taken them.
    void choose(TrackMode target);

    // Opens the port unless output goes to the endpoint; false when it failed (the program is ending).
    bool StartTracking();
    void StopTracking();
    // Opens the port with the port number and speed in effect, unless it is open. A failure is the end
    // of the program: portOpenFailed once, and false from then on.
    bool OpenRotatorPort();
    void CloseRotatorPort();

    // The lines go to the local endpoint from now on; the serial port closes, tracking goes on.
    void UseEndpointOutput();
    // The lines go to the serial port from now on; while tracking it opens at once.
    void UseSerialOutput();

    // One pointing of the target position (degrees; the correction of the output format is applied
    // here). False when writing failed: the rest of that cycle is skipped.
    bool SendPointing(double first, double second, const nav::SkyState& sky);

    // The tracking step of the one-second cycle: while tracking, the Sun or the Moon above the horizon,
    // or the park position. False when the rest of the cycle is to be skipped.
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
    // The serial output stopped reaching the device (`lost`, with the system's reason) or lines flow
    // again after that. Told once per change, never once a second; stopping tracking or moving the output
    // to the endpoint ends a loss without a word.
    void outputLostChanged(bool lost, const QString& reason);

private:
    void setOutputLost(bool lost, const QString& reason = {});

    TrackingState& state_;
    const Settings& settings_;
    RotatorPort& port_;
    // After a failed open the program is ending: nothing more is sent or reopened.
    bool ending_ = false;
    bool outputLost_ = false;
};

}  // namespace skyrel

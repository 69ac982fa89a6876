// The calibration window: the dish, the day's solar flux readings, and per band what the station should
// measure on the Sun, the Moon and the four radio sources, with a box for the Y-factor measured on the
// Sun that shows the G/T and the system temperature it implies. Live once a second while in sight (the
// Moon's distance and the sources' positions move); its inputs are stored in the settings group
// "Calibration", the receiver temperatures are the EME planner's.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <array>

#include "app/settings/calibrationsettings.h"
#include "navlib/planner.h"
#include "navlib/skystate.h"
#include "ui/secondarywindow.h"

namespace skyrel {

class CalibrationWindow : public SecondaryWindow {
    Q_OBJECT

public:
    // `sky` is the main window's (the instant, the Moon's distance, the sidereal frame); `site` the
    // observer site in effect.
    CalibrationWindow(const nav::SkyState& sky, const nav::ObserverSite& site, SettingsStore& store);

    // The table and the sources' positions for the present second.
    void refresh();
    // Reads every box: good ones are stored and shown at once; a bad box shows its message and nothing
    // is stored.
    void applyForm();

    const CalibrationSettings& settings() const { return settings_; }

    QLineEdit *diameterBox, *efficiencyBox, *moonBox, *fluxBox, *fluxDateBox;
    std::array<QLineEdit*, nav::kBandCount> measuredBoxes;
    QPushButton* applyButton;
    QLabel* message;        // the first bad box, or what the load refused
    QTableWidget* table;    // a row a figure, a column a band; the last three rows: measured Y, G/T, Tsys
    QLabel* sourcesLabel;   // each source's azimuth and elevation now

private:
    void buildLayout();
    void showForm();

    const nav::SkyState& sky_;
    const nav::ObserverSite& site_;
    CalibrationSettings settings_;
};

}  // namespace skyrel

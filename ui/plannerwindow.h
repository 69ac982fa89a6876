// The EME planner window: the home station and a DX station, live once a second the DX's Moon, the
// Doppler both ways, the polarisation offset, the sky temperature and degradation per band; the common
// Moon windows of today and the next six days; and the day chart. Resizable; its size and position are
// stored when it is closed, its choices in the settings group "Planner".
#pragma once

#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <array>
#include <optional>

#include "app/settings/plannersettings.h"
#include "navlib/commonwindow.h"
#include "navlib/locator.h"
#include "navlib/planner.h"
#include "ui/secondarywindow.h"

namespace skyrel {

class PlannerWindow : public SecondaryWindow {
    Q_OBJECT

public:
    // How many days the windows table covers, today included.
    static constexpr int kWindowDays = 7;
    // Step of the day chart's curves (s).
    static constexpr int kChartStepSeconds = 300;

    // `sky` is the main window's: its clock gives the present instant and its copy carries the choice of
    // ephemeris. `home` is the observer site in effect.
    PlannerWindow(const nav::SkyState& sky, const nav::ObserverSite& home, SettingsStore& store);

    // The once-a-second refresh, while the window is in sight: live figures, and the windows and chart
    // again when the UTC day or the home site changed.
    void refresh();
    // Reads a DX entry line: a good one becomes the DX station and goes first in the recent list; a bad one
    // shows its message beside the box and keeps the last good station.
    void applyDxEntry(const QString& text);
    // Reads the minimum elevation and Trx boxes; a bad box shows its message and gets its last good value.
    void applyLimits();
    // Writes the chart as a PNG picture; false when it cannot be written.
    bool saveChart(const QString& path);

    const std::optional<nav::DxStation>& dxStation() const { return dx_; }

signals:
    // A DX entry was applied: the station the radio's DX conventions follow from now on.
    void dxStationChosen(const nav::PlannerSite& dx);

public:
    const std::vector<nav::CommonWindow>& windows() const { return windows_; }
    const PlannerSettings& settings() const { return settings_; }

    QLabel* homeLabel;
    QComboBox* dxBox;
    QPushButton* setDxButton;
    QLabel* dxMessage;
    QLineEdit* minElevationBox;
    std::array<QLineEdit*, nav::kBandCount> trxBoxes;
    QLabel* limitsMessage;
    QLabel* dxMoonLabel;
    QLabel* polarisationLabel;
    QTableWidget* figuresTable;  // rows: home echo, DX hears (Hz), Tsky (K), degradation (dB); a column a band
    QTableWidget* windowsTable;  // start, end, minutes, home max, DX max
    QDateEdit* chartDay;         // the chart's UTC day
    QChartView* chartView;
    QPushButton* saveChartButton;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The DX station computed with the home station's ephemeris.
    nav::PlannerSite dxPlannerSite(const nav::DxStation& station) const;
    void buildLayout();
    void showLimits();
    void recomputeWindows();
    void rebuildChart();
    void saveChartClicked();
    int today() const { return sky_.clock.utcDay; }

    const nav::SkyState& sky_;
    const nav::ObserverSite& home_;
    PlannerSettings settings_;
    std::optional<nav::DxStation> dx_;
    nav::PlannerSite homeSite_, dxSite_;
    std::vector<nav::CommonWindow> windows_;
    int windowsDay_ = 0;  // UTC day number the windows were found from
};

}  // namespace skyrel

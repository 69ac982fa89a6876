// The main window: observer, Sun and Moon panels, the tracking status box and the menus. A view of the
// station: its one-second timer (Timer1Timer) runs the station's cycle, and the panels show what the
// station's signals say has changed; the menus call the station.
#pragma once

#include <QAction>
#include <QGroupBox>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <array>

#include "app/station/station.h"
#include "ui/displaytext.h"
#include "ui/widgets.h"

namespace skyrel {

class TSMForm2;
class TSMForm3;
class TSMForm4;

class TSMForm1 : public QMainWindow {
    Q_OBJECT

public:
    // Outer heights of the window, frame and menu included: the status box is below the visible area
    // at 494 and uncovered at 544.
    static constexpr int kIdleHeight = 494;
    static constexpr int kTrackingHeight = 544;
    // With a Hamlib rotator the box has five more rows: target, commanded and reported positions, the
    // error, and why the antenna holds still.
    static constexpr int kAntennaTrackingHeight = 624;
    static constexpr int kClientWidth = 186;

    // Runs FormCreate: loads the settings, applies the site and runs the first two cycles. `station`
    // must outlive the window.
    explicit TSMForm1(Station& station, QWidget* parent = nullptr);
    ~TSMForm1() override;

    void setCompanions(TSMForm2* setup, TSMForm3* map, TSMForm4* eme);

    void Timer1Timer();
    void UpdateDisplay();
    void ApplySite();
    void FindRiseSet();

    void Label5Click();
    void Label8Click();
    void Label12Click();
    void About1Click();
    void Exit1Click();
    void MapSetup1Click();
    void Map1Click();
    void EME1Click();
    void PreciseEphemeris1Click();
    void Sun1Click();
    void Moon1Click();
    void Park1Click();
    void off1Click();

    void SetOuterHeight(int height);
    int OuterHeight() const { return outerHeight_; }
    QTimer& Timer1() { return timer1_; }
    CoordinateDisplay coordinateDisplay() const { return coordinateDisplay_; }
    double distanceFactor() const { return distanceFactor_; }
    // Cycles run so far (the station's count).
    int cycleCount() const { return station_.cycleCount(); }
    Station& station() { return station_; }
    // Brings the window back from being minimised, for a second copy of the program.
    void restoreAndRaise();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void buildPanels();
    void buildMenus();
    void showError(const QString& message);
    void connectStation();
    void connectTracker();
    void showClock();
    void showRiseSet();
    void showSite();
    void showStatusTexts(const QString& first, const QString& second);
    void showOutputLost();
    void showWriteError(const QString& message);
    void endAfterPortFailure(const QString& reason);
    void showRotatorError(const QString& message);
    void showAntennaRows(bool shown);
    void showAntennaStatus(const AntennaStatus& status);
    // The outer height for the status box as it stands: hidden, or shown with or without the antenna rows.
    void fitStatusBox();

    Station& station_;
    TSMForm2* setup_ = nullptr;
    TSMForm3* map_ = nullptr;
    TSMForm4* eme_ = nullptr;
    QPointer<QMessageBox> writeErrorBox_;
    QPointer<QMessageBox> rotatorErrorBox_;
    bool statusBoxShown_ = false;
    bool antennaRowsShown_ = false;

    QTimer timer1_;
    CoordinateDisplay coordinateDisplay_ = CoordinateDisplay::AzEl;
    double distanceFactor_ = kKilometres;
    int outerHeight_ = kIdleHeight;

public:
    // Controls keep their numbered names; they are also reachable by object name ("Label8").
    QLabel *Label1, *Label2, *Label3, *Label4, *Label7, *Label9, *Label11, *Label13, *Label15, *Label17, *Label19;
    LiveLabel* Label5;
    QLabel *Label6, *Label21, *Label22, *Label24, *Label26, *Label28, *Label30, *Label32, *Label34, *Label36;
    RightAlignedLabel *Label8, *Label10, *Label12, *Label14, *Label16, *Label18, *Label20;
    RightAlignedLabel *Label23, *Label25, *Label27, *Label29, *Label40, *Label31, *Label33, *Label35, *Label37;
    QGroupBox* GroupBox1;
    QLabel *Label38, *Label39;
    QLabel *Label41, *Label42;  // the Hamlib rotator's reported position and pointing error
    QLabel *Label43, *Label44, *Label45;  // its target, its last command, and why it holds still
    QAction *Exit1, *MapSetup1, *Map1, *EME1, *About1, *Sun1, *Moon1, *Park1, *off1;
    QAction* Planner1;  // "EME Planner": whoever owns the planner window shows it
    QAction* PreciseEphemeris1;
    QAction* Rotator1;  // "Rotator…": whoever owns the rotator dialog shows it
    QAction* Radio1;    // "Radio…": the same for the radio dialog
    QAction* WebPage1;  // "Web Page…": whoever runs the station opens its web page
    QAction* Calibration1;  // "Calibration": whoever owns the calibration window shows it
    // Track -> Source: one checkable item a radio source, in the order of nav::kRadioSources; the stored
    // source's item is ticked while it is tracked.
    std::array<QAction*, nav::kRadioSourceCount> sourceActions;
};

}  // namespace skyrel

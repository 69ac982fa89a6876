#include "ui/mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <tuple>
#include <utility>

#include "app/settings/iersfile.h"
#include "app/settings/settings.h"
#include "app/program/version.h"
#include "navlib/anomaly.h"
#include "navlib/constants.h"
#include "navlib/observer.h"
#include "navlib/riseset.h"
#include "navlib/timecal.h"
#include "ui/emewindow.h"
#include "ui/mapwindow.h"
#include "ui/setupdialog.h"

namespace skyrel {
namespace {

// The outer height counts the frame, the caption bar and the menu bar of the classic window; the client
// area below the menu is this much smaller, which puts the status box (top 448) just out of sight at 494.
constexpr int kFrameAndMenuHeight = 46;
constexpr int kMainFormNumber = 1;
// The status box, and what the Hamlib rotator's two rows add to it.
constexpr int kStatusBoxHeight = 41;
constexpr int kAntennaRowsHeight = TSMForm1::kAntennaTrackingHeight - TSMForm1::kTrackingHeight;

const QString kCoordinateHint = QStringLiteral(" Click to switch between Az/El, RA/Dec, LHA/Dec  ");
const QString kDistanceHint = QStringLiteral(" Click to switch between miles/km ");
const QString kAnomalyHint = QStringLiteral(" Perigee = 0, Apogee = 128 ");
// The status box while the rotator port is lost, in place of the values last sent.
const QString kOutputLostText = QStringLiteral("Port lost, retrying");

// Where a row's value starts at its narrowest, how wide and how high it is; it grows to the left.
struct ValuePlace {
    int left = 107;
    int width = 46;
    int height = 13;
};

// A caption at x = 16 and its value on one row of a panel. The caption reaches up to the value, so each
// text the row can take (the three coordinate displays, km or mi, UTC or LOC, rise and set in either
// order) shows whole.
std::pair<QLabel*, RightAlignedLabel*> AddRow(QWidget* panel, const QString& caption, const char* captionName,
                                              const char* valueName, int top, ValuePlace value = {}) {
    constexpr int kCaptionLeft = 16;
    return {AddCaption(panel, caption, kCaptionLeft, top, captionName, value.left - kCaptionLeft),
            AddValue(panel, valueName, value.left, top, value.width, value.height)};
}

QFrame* MakePanel(QWidget* parent, const QRect& geometry) {
    auto* panel = new QFrame(parent);
    panel->setGeometry(geometry);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    return panel;
}

}  // namespace

TSMForm1::TSMForm1(Station& station, QWidget* parent) : QMainWindow(parent), station_(station) {
    setObjectName(QStringLiteral("SMForm1"));
    setWindowTitle(QStringLiteral("Skyrel / Brenlo"));
    setWindowFlags(FixedWindowFlags());
    setFont(WindowFont());
    // The panels are black on the window colour whatever the desktop theme, so that the red, blue and
    // black of the values always read as intended.
    SetTextColour(*this, Qt::black);
    buildPanels();
    buildMenus();
    connectStation();
    connectTracker();
    timer1_.setTimerType(Qt::PreciseTimer);
    timer1_.setInterval(1000);
    connect(&timer1_, &QTimer::timeout, this, &TSMForm1::Timer1Timer);
    FormCreate();
}

TSMForm1::~TSMForm1() = default;

void TSMForm1::setCompanions(TSMForm2* setup, TSMForm3* map, TSMForm4* eme) {
    setup_ = setup;
    map_ = map;
    eme_ = eme;
}

void TSMForm1::FormCreate() {
    timer1_.stop();
    SetOuterHeight(kIdleHeight);
    // The system places a new main window unless its title bar can be reached at the stored position.
    SettingsStore& store = station_.store();
    const QPoint stored = LoadWindowPosition(store, kMainFormNumber);
    if (HasStoredWindowPosition(store, kMainFormNumber) && IsTitleBarReachable(stored, width())) move(stored);
    const std::optional<QString> error = station_.loadSettings();
    PreciseEphemeris1->setChecked(station_.state().settings.site.ephemeris == nav::Ephemeris::Precise);
    if (error) showError(*error);
    distanceFactor_ = kKilometres;
    setAttribute(Qt::WA_AlwaysShowToolTips);
    ApplySite();
    timer1_.start();
    Timer1Timer();
}

void TSMForm1::showError(const QString& message) {
    ShowMessage(this, QMessageBox::Critical, message, QStringLiteral("ErrorBox"));
}

void TSMForm1::Timer1Timer() { station_.tick(); }

void TSMForm1::connectStation() {
    connect(&station_, &Station::clockRead, this, &TSMForm1::showClock);
    connect(&station_, &Station::riseSetChanged, this, &TSMForm1::showRiseSet);
    connect(&station_, &Station::siteApplied, this, &TSMForm1::showSite);
    connect(&station_, &Station::cycleCompleted, this, &TSMForm1::UpdateDisplay);
    connect(&station_, &Station::mapRedrawDue, this, [this] {
        if (map_ && map_->isVisible()) map_->RenderMap();
    });
}

void TSMForm1::showClock() {
    const nav::ClockState& clock = station_.state().sky.clock;
    Label40->setValueText(AnomalyText(nav::AnomalyPhase(clock.utcDay, clock.utcFraction)));
    Label4->setText(station_.dateText());
    Label5->setText(station_.timeText() +
                    (station_.showUtc() ? QStringLiteral(" (UTC)") : QStringLiteral(" (LOC)")));
}

void TSMForm1::FindRiseSet() { station_.findRiseSet(); }

void TSMForm1::showRiseSet() {
    const nav::RiseSetTexts& texts = station_.riseSetTexts();
    const auto show = [](const nav::RiseSetPanel& p, QLabel* c1, RightAlignedLabel* t1, QLabel* c2,
                         RightAlignedLabel* t2, QLabel* tc, RightAlignedLabel* tt, RightAlignedLabel* maxMin) {
        c1->setText(QString::fromStdString(p.row1Caption));
        t1->setValueText(QString::fromStdString(p.row1Text));
        c2->setText(QString::fromStdString(p.row2Caption));
        t2->setValueText(QString::fromStdString(p.row2Text));
        tc->setText(QString::fromStdString(p.transitCaption));
        tt->setValueText(QString::fromStdString(p.transitText));
        maxMin->setValueText(QString::fromStdString(p.maxMin));
    };
    show(texts.sun, Label13, Label14, Label15, Label16, Label17, Label18, Label20);
    show(texts.moon, Label30, Label31, Label32, Label33, Label34, Label35, Label37);
}

void TSMForm1::UpdateDisplay() {
    const nav::SkyState& sky = station_.state().sky;
    const QColor sunColour = ElevationColour(sky.sun.elevation, Label8->textColour());
    Label8->setTextColour(sunColour);
    Label10->setTextColour(sunColour);
    const QColor moonColour = ElevationColour(sky.moon.elevation, Label23->textColour());
    Label23->setTextColour(moonColour);
    Label25->setTextColour(moonColour);

    const auto showBody = [this](const nav::BodyState& body, RightAlignedLabel* first, RightAlignedLabel* second) {
        switch (coordinateDisplay_) {
            case CoordinateDisplay::AzEl:
                first->setValueText(FixedText(body.azimuth, 2));
                second->setValueText(FixedText(body.elevation, 2));
                break;
            case CoordinateDisplay::RaDec:
                first->setValueText(RightAscensionText(body.rightAscension));
                second->setValueText(FixedText(nav::Degrees(body.declination), 2));
                break;
            case CoordinateDisplay::LhaDec:
                first->setValueText(FixedText(body.hourAngle, 2));
                second->setValueText(FixedText(nav::Degrees(body.declination), 2));
                break;
        }
    };
    QString firstCaption = QStringLiteral("Azimuth:");
    QString secondCaption = QStringLiteral("Elevation:");
    if (coordinateDisplay_ == CoordinateDisplay::RaDec) {
        firstCaption = QStringLiteral("Right Asc:");
        secondCaption = QStringLiteral("Declination:");
    } else if (coordinateDisplay_ == CoordinateDisplay::LhaDec) {
        firstCaption = QStringLiteral("Loc.Hr.Ang:");
        secondCaption = QStringLiteral("Declination:");
    }
    Label7->setText(firstCaption);
    Label22->setText(firstCaption);
    Label9->setText(secondCaption);
    Label24->setText(secondCaption);
    showBody(sky.sun, Label8, Label10);
    showBody(sky.moon, Label23, Label25);

    Label12->setValueText(DistanceText(sky.sun.distance, distanceFactor_));
    Label29->setValueText(ElongationText(sky.moonElongation));
    Label27->setValueText(DistanceText(sky.moon.distance, distanceFactor_));
}

void TSMForm1::ApplySite() { station_.applySite(); }

void TSMForm1::showSite() {
    const nav::ObserverSite& site = station_.state().settings.site;
    Label2->setText(QStringLiteral("Lat: ") + FixedText(site.latitude, 5, 2) + QStringLiteral("   Lon: ") +
                    FixedText(site.longitude, 5, 2));
    Label1->setText(QString::fromStdString(site.name));
}

void TSMForm1::Label5Click() {
    station_.setShowUtc(!station_.showUtc());
    UpdateDisplay();
}

void TSMForm1::Label8Click() {
    switch (coordinateDisplay_) {
        case CoordinateDisplay::AzEl: coordinateDisplay_ = CoordinateDisplay::RaDec; break;
        case CoordinateDisplay::RaDec: coordinateDisplay_ = CoordinateDisplay::LhaDec; break;
        case CoordinateDisplay::LhaDec: coordinateDisplay_ = CoordinateDisplay::AzEl; break;
    }
    UpdateDisplay();
}

void TSMForm1::Label12Click() {
    const bool toMiles = distanceFactor_ == kKilometres;
    distanceFactor_ = toMiles ? kMiles : kKilometres;
    const QString caption = toMiles ? QStringLiteral("Dist (mi):") : QStringLiteral("Dist (km):");
    Label11->setText(caption);
    Label26->setText(caption);
    Timer1Timer();
}

void TSMForm1::About1Click() {
    const Settings& settings = station_.state().settings;
    const nav::ClockState& clock = station_.state().sky.clock;
    const QString text = QStringLiteral("Skyrel ver# %1  Sun-Moon Tracker\r\n").arg(QLatin1String(kVersion)) +
                         QString(11, QLatin1Char(' ')) + QStringLiteral("Written in C++ with the Qt toolkit\r\n") +
                         QString(6, QLatin1Char(' ')) +
                         QStringLiteral("By the Skyrel developers, for EME stations\r\n") + QStringLiteral("\r\n") +
                         QStringLiteral("        Last update 2005-09-21\r\n") + QString(8, QLatin1Char(' ')) +
                         EphemerisText(settings.site.ephemeris) + QStringLiteral(" ephemeris") +
                         QStringLiteral("\r\n") + QString(8, QLatin1Char(' ')) +
                         Dut1Description(settings.site, settings.iersFile, clock.utcDay, clock.utcFraction);
    ShowMessage(this, QMessageBox::NoIcon, text, QStringLiteral("AboutBox"));
}

void TSMForm1::Exit1Click() { close(); }

void TSMForm1::MapSetup1Click() {
    if (setup_) RestoreAndRaise(*setup_);
}

void TSMForm1::Map1Click() {
    if (!map_) return;
    // A minimised map is out of sight: "Map" brings it back rather than hiding it.
    if (map_->isVisible() && !map_->isMinimized()) {
        map_->hide();
        return;
    }
    RestoreAndRaise(*map_);
    map_->RenderMap();
}

void TSMForm1::EME1Click() {
    if (eme_) RestoreAndRaise(*eme_);
}

void TSMForm1::PreciseEphemeris1Click() {
    station_.setEphemeris(PreciseEphemeris1->isChecked() ? nav::Ephemeris::Precise : nav::Ephemeris::Standard);
}

void TSMForm1::Sun1Click() { station_.choose(TrackMode::Sun); }
void TSMForm1::Moon1Click() { station_.choose(TrackMode::Moon); }
void TSMForm1::Park1Click() { station_.choose(TrackMode::Park); }
void TSMForm1::off1Click() { station_.choose(TrackMode::Off); }

void TSMForm1::connectTracker() {
    Tracker& tracker = station_.tracker();
    connect(&tracker, &Tracker::menuChecked, this, [this](TrackMode item, bool checked) {
        switch (item) {
            case TrackMode::Sun: Sun1->setChecked(checked); break;
            case TrackMode::Moon: Moon1->setChecked(checked); break;
            case TrackMode::Park: Park1->setChecked(checked); break;
            case TrackMode::Off: off1->setChecked(checked); break;
            case TrackMode::Source:
                for (const nav::RadioSource source : nav::kRadioSources)
                    sourceActions[nav::SourceIndex(source)]->setChecked(
                        checked && source == station_.state().settings.source);
                break;
        }
    });
    connect(&tracker, &Tracker::titleTracked, this, [this](TrackMode body, bool tracked) {
        SetTextColour(body == TrackMode::Sun ? *Label6 : *Label21, tracked ? QColor(255, 0, 0) : QColor(0, 0, 0));
    });
    connect(&tracker, &Tracker::statusCaptionChanged, GroupBox1, &QGroupBox::setTitle);
    connect(&tracker, &Tracker::statusBoxShown, this, [this](bool shown) {
        statusBoxShown_ = shown;
        fitStatusBox();
    });
    connect(&tracker, &Tracker::antennaStatusShown, this, &TSMForm1::showAntennaRows);
    connect(&tracker, &Tracker::antennaStatusChanged, this, &TSMForm1::showAntennaStatus);
    connect(&tracker, &Tracker::rotatorUnreachable, this, &TSMForm1::showRotatorError);
    connect(&tracker, &Tracker::statusTextsChanged, this, &TSMForm1::showStatusTexts);
    connect(&tracker, &Tracker::outputLostChanged, this, [this](bool lost) {
        if (lost) showOutputLost();
    });
    connect(&tracker, &Tracker::writeFailed, this, &TSMForm1::showWriteError);
    connect(&tracker, &Tracker::portOpenFailed, this, &TSMForm1::endAfterPortFailure);
}

void TSMForm1::showStatusTexts(const QString& first, const QString& second) {
    SetTextColour(*Label38, Qt::black);
    SetTextColour(*Label39, Qt::black);
    const auto show = [](QLabel* label, const QString& text) {
        if (label->text() == text) return;
        label->setText(text);
        label->adjustSize();
    };
    show(Label38, first);
    show(Label39, second);
}

void TSMForm1::showOutputLost() {
    // The values last sent would look current while nothing reaches the rotator: the box says so
    // instead, until lines flow again and the values come back.
    showStatusTexts(kOutputLostText, QString());
    SetTextColour(*Label38, kWarningColour);
}

void TSMForm1::showWriteError(const QString& message) {
    // Ticks keep coming while the box is open: one box at a time, not one a second.
    if (writeErrorBox_ && writeErrorBox_->isVisible()) return;
    writeErrorBox_ = ShowMessage(this, QMessageBox::Critical, message, QStringLiteral("WriteErrorBox"));
}

void TSMForm1::showRotatorError(const QString& message) {
    if (rotatorErrorBox_ && rotatorErrorBox_->isVisible()) return;
    rotatorErrorBox_ = ShowMessage(this, QMessageBox::Warning, message, QStringLiteral("RotatorErrorBox"));
}

void TSMForm1::showAntennaRows(bool shown) {
    antennaRowsShown_ = shown;
    GroupBox1->setFixedHeight(shown ? kStatusBoxHeight + kAntennaRowsHeight : kStatusBoxHeight);
    for (QLabel* label : {Label41, Label42, Label43, Label44, Label45}) label->setVisible(shown);
    fitStatusBox();
}

void TSMForm1::showAntennaStatus(const AntennaStatus& status) {
    // A position means the rotator answers again: its failure box would now contradict the status box.
    if (!status.position.isEmpty() && rotatorErrorBox_) rotatorErrorBox_->close();
    Label41->setText(status.position);
    Label41->adjustSize();
    Label42->setText(status.error);
    Label42->adjustSize();
    Label43->setText(status.target);
    Label43->adjustSize();
    Label44->setText(status.commanded);
    Label44->adjustSize();
    Label45->setText(status.reason);
    Label45->adjustSize();
    SetTextColour(*Label42, status.warning ? QColor(255, 0, 0) : QColor(0, 0, 0));
}

void TSMForm1::fitStatusBox() {
    if (!statusBoxShown_) SetOuterHeight(kIdleHeight);
    else SetOuterHeight(antennaRowsShown_ ? kAntennaTrackingHeight : kTrackingHeight);
}

void TSMForm1::endAfterPortFailure(const QString& reason) {
    QApplication::beep();
    QMessageBox* box = ShowMessage(this, QMessageBox::Warning,
                                   QStringLiteral("Problem opening port!\nPort may already be in use!\n") + reason,
                                   QStringLiteral("PortFailureBox"));
    // The event loop ends without closing the window, so its position is not stored.
    connect(box, &QMessageBox::finished, qApp,
            [] { QTimer::singleShot(500, qApp, [] { QCoreApplication::exit(0); }); });
}

void TSMForm1::SetOuterHeight(int height) {
    outerHeight_ = height;
    centralWidget()->setFixedSize(kClientWidth, height - kFrameAndMenuHeight);
    setFixedSize(kClientWidth, height - kFrameAndMenuHeight + menuBar()->sizeHint().height());
}

void TSMForm1::restoreAndRaise() { RestoreAndRaise(*this); }

void TSMForm1::closeEvent(QCloseEvent* event) {
    if (IsInNormalState(*this)) SaveWindowPosition(station_.store(), kMainFormNumber, pos());
    event->accept();
    // Ends the event loop without closing the other windows (quit() would close each of them), so that a
    // window stores its position only when the user closes that window.
    QCoreApplication::exit(0);
}

void TSMForm1::buildPanels() {
    auto* client = new QWidget(this);
    setCentralWidget(client);

    QFrame* observer = MakePanel(client, QRect(8, 8, 169, 89));
    const QFont titleFont = WindowFont(12);
    // A long name is drawn smaller rather than cut at both ends.
    Label1 = new FittedLabel(QStringLiteral("Observer"), observer);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 5, 153, 20);
    Label1->setFont(titleFont);
    Label2 = new QLabel(observer);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(8, 32, 153, 13);
    Label4 = new QLabel(observer);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(24, 48, 121, 13);
    Label5 = new LiveLabel(observer);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setFixedGeometry(QRect(24, 64, 121, 17));
    Label5->setToolTip(QStringLiteral(" Click to switch from LOCAL to UTC display. "));
    for (QLabel* l : {Label1, Label2, Label4, static_cast<QLabel*>(Label5)}) l->setAlignment(Qt::AlignCenter);
    // The date changes under a still panel: like the time (a live label) it paints its own background, so
    // a new day repaints the label alone, not the panel's frame behind it.
    Label4->setAutoFillBackground(true);
    connect(Label5, &ClickableLabel::clicked, this, &TSMForm1::Label5Click);

    QFrame* sun = MakePanel(client, QRect(8, 104, 169, 145));
    Label6 = AddCaption(sun, QStringLiteral("Sun"), 68, 4, "Label6");
    Label6->setFont(titleFont);
    Label6->adjustSize();
    std::tie(Label7, Label8) = AddRow(sun, QStringLiteral("Azimuth:"), "Label7", "Label8", 24, {88, 65, 17});
    std::tie(Label9, Label10) = AddRow(sun, QStringLiteral("Elevation:"), "Label9", "Label10", 40, {88, 65, 17});
    std::tie(Label11, Label12) = AddRow(sun, QStringLiteral("Dist (km):"), "Label11", "Label12", 56, {80, 73, 17});
    std::tie(Label13, Label14) = AddRow(sun, QStringLiteral("Rise (LOC):"), "Label13", "Label14", 72);
    std::tie(Label15, Label16) = AddRow(sun, QStringLiteral("Set (LOC):"), "Label15", "Label16", 88);
    std::tie(Label17, Label18) = AddRow(sun, QStringLiteral("Transit (LOC):"), "Label17", "Label18", 104);
    std::tie(Label19, Label20) = AddRow(sun, QStringLiteral("Max/Min:"), "Label19", "Label20", 120);

    QFrame* moon = MakePanel(client, QRect(8, 256, 169, 185));
    Label21 = AddCaption(moon, QStringLiteral("Moon"), 64, 8, "Label21");
    Label21->setFont(titleFont);
    Label21->adjustSize();
    std::tie(Label22, Label23) = AddRow(moon, QStringLiteral("Azimuth:"), "Label22", "Label23", 32);
    std::tie(Label24, Label25) = AddRow(moon, QStringLiteral("Elevation:"), "Label24", "Label25", 48);
    std::tie(Label26, Label27) = AddRow(moon, QStringLiteral("Dist (km):"), "Label26", "Label27", 64);
    std::tie(Label28, Label29) = AddRow(moon, QStringLiteral("Elong.(deg):"), "Label28", "Label29", 80);
    std::tie(Label3, Label40) = AddRow(moon, QStringLiteral("Mean Anom:"), "Label3", "Label40", 96);
    std::tie(Label30, Label31) = AddRow(moon, QStringLiteral("Rise (LOC):"), "Label30", "Label31", 112);
    std::tie(Label32, Label33) = AddRow(moon, QStringLiteral("Set (LOC):"), "Label32", "Label33", 128);
    std::tie(Label34, Label35) = AddRow(moon, QStringLiteral("Transit (LOC):"), "Label34", "Label35", 144);
    std::tie(Label36, Label37) = AddRow(moon, QStringLiteral("Max/Min:"), "Label36", "Label37", 160);

    // A value row of the Sun panel is a pixel higher than the row pitch and overlaps the next row's caption:
    // above the captions, a new value repaints itself alone.
    for (QFrame* panel : {sun, moon})
        for (RightAlignedLabel* value : panel->findChildren<RightAlignedLabel*>()) value->raise();

    Label8->setToolTip(kCoordinateHint);
    Label10->setToolTip(QStringLiteral("  Click to switch between Az/El, RA/Dec, LHA/Dec  "));
    Label23->setToolTip(kCoordinateHint);
    Label25->setToolTip(kCoordinateHint);
    Label12->setToolTip(kDistanceHint);
    Label27->setToolTip(kDistanceHint);
    Label3->setToolTip(kAnomalyHint);
    Label40->setToolTip(kAnomalyHint);
    for (RightAlignedLabel* l : {Label8, Label10, Label23, Label25})
        connect(l, &ClickableLabel::clicked, this, &TSMForm1::Label8Click);
    for (RightAlignedLabel* l : {Label12, Label27})
        connect(l, &ClickableLabel::clicked, this, &TSMForm1::Label12Click);

    GroupBox1 = new QGroupBox(QStringLiteral("Tracking Active"), client);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 448, 169, kStatusBoxHeight);
    // The caption sits on the frame line, as on a classic group box, so the two values at y = 18 fall
    // inside the frame of this low box.
    GroupBox1->setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid #a0a0a0; margin-top: 6px; }"
                                            "QGroupBox::title { subcontrol-origin: margin; left: 8px; "
                                            "padding: 0 2px; }"));
    Label38 = AddCaption(GroupBox1, QStringLiteral("Az: "), 18, 18, "Label38");
    Label39 = AddCaption(GroupBox1, QStringLiteral("El: "), 96, 18, "Label39");
    Label43 = AddCaption(GroupBox1, QString(), 18, 34, "Label43");
    Label44 = AddCaption(GroupBox1, QString(), 18, 50, "Label44");
    Label41 = AddCaption(GroupBox1, QString(), 18, 66, "Label41");
    Label42 = AddCaption(GroupBox1, QString(), 18, 82, "Label42");
    Label45 = AddCaption(GroupBox1, QString(), 8, 98, "Label45");
    // A style sheet stops the window's font from reaching the box's children.
    GroupBox1->setFont(WindowFont());
    for (QLabel* label : {Label38, Label39, Label41, Label42, Label43, Label44, Label45}) label->setFont(WindowFont());
    for (QLabel* label : {Label41, Label42, Label43, Label44, Label45}) label->hide();
}

void TSMForm1::buildMenus() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("Menu"));
    Exit1 = menu->addAction(QStringLiteral("Exit"), this, &TSMForm1::Exit1Click);
    MapSetup1 = menu->addAction(QStringLiteral("Setup"), this, &TSMForm1::MapSetup1Click);
    Map1 = menu->addAction(QStringLiteral("Map"), this, &TSMForm1::Map1Click);
    EME1 = menu->addAction(QStringLiteral("EME"), this, &TSMForm1::EME1Click);
    Planner1 = menu->addAction(QStringLiteral("EME Planner"));
    Planner1->setObjectName(QStringLiteral("Planner1"));
    PreciseEphemeris1 = menu->addAction(QStringLiteral("Precise Ephemeris"));
    PreciseEphemeris1->setCheckable(true);
    connect(PreciseEphemeris1, &QAction::triggered, this, &TSMForm1::PreciseEphemeris1Click);
    Rotator1 = menu->addAction(QStringLiteral("Rotator…"));
    Rotator1->setObjectName(QStringLiteral("Rotator1"));
    Radio1 = menu->addAction(QStringLiteral("Radio…"));
    Radio1->setObjectName(QStringLiteral("Radio1"));
    WebPage1 = menu->addAction(QStringLiteral("Web Page…"));
    WebPage1->setObjectName(QStringLiteral("WebPage1"));
    Calibration1 = menu->addAction(QStringLiteral("Calibration"));
    Calibration1->setObjectName(QStringLiteral("Calibration1"));
    About1 = menuBar()->addAction(QStringLiteral("About"), this, &TSMForm1::About1Click);
    QMenu* track = menuBar()->addMenu(QStringLiteral("Track"));
    Sun1 = track->addAction(QStringLiteral("Sun"));
    Moon1 = track->addAction(QStringLiteral("Moon"));
    Park1 = track->addAction(QStringLiteral("Park"));
    off1 = track->addAction(QStringLiteral("off"));
    QMenu* sources = track->addMenu(QStringLiteral("Source"));
    sources->setObjectName(QStringLiteral("SourceMenu"));
    for (const nav::RadioSource source : nav::kRadioSources) {
        QAction* item = sources->addAction(SourceName(source));
        item->setCheckable(true);
        item->setObjectName(QStringLiteral("Source_") + SourceKey(source));
        connect(item, &QAction::triggered, this, [this, source] { station_.chooseSource(source); });
        sourceActions[nav::SourceIndex(source)] = item;
    }
    for (QAction* a : {Sun1, Moon1, Park1, off1}) a->setCheckable(true);
    connect(Sun1, &QAction::triggered, this, &TSMForm1::Sun1Click);
    connect(Moon1, &QAction::triggered, this, &TSMForm1::Moon1Click);
    connect(Park1, &QAction::triggered, this, &TSMForm1::Park1Click);
    connect(off1, &QAction::triggered, this, &TSMForm1::off1Click);
    off1->setChecked(true);
    Exit1->setObjectName(QStringLiteral("Exit1"));
    MapSetup1->setObjectName(QStringLiteral("MapSetup1"));
    Map1->setObjectName(QStringLiteral("Map1"));
    EME1->setObjectName(QStringLiteral("EME1"));
    PreciseEphemeris1->setObjectName(QStringLiteral("PreciseEphemeris1"));
    About1->setObjectName(QStringLiteral("About1"));
    Sun1->setObjectName(QStringLiteral("Sun1"));
    Moon1->setObjectName(QStringLiteral("Moon1"));
    Park1->setObjectName(QStringLiteral("Park1"));
    off1->setObjectName(QStringLiteral("off1"));
    GuardMenuBarClicks(*menuBar());
}

}  // namespace skyrel

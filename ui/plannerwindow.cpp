#include "ui/plannerwindow.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cmath>

#include "app/settings/numbertext.h"
#include "app/settings/settings.h"
#include "navlib/eme.h"
#include "navlib/timecal.h"
#include "ui/displaytext.h"
#include "ui/plannerchart.h"
#include "ui/widgets.h"

namespace skyrel {
namespace {

constexpr int kFormNumber = 5;
constexpr QSize kDefaultSize(900, 780);
// What a window manager's title bar and frame may add around the client area (px).
constexpr QSize kFrameAllowance(16, 48);
// The chart's least height (px) at which its axes and their labels still read.
constexpr int kChartMinimumHeight = 280;
// QDate counts Julian day numbers at noon; the engine's day number 0 falls on Julian day 1721410.
constexpr qint64 kJulianDayOfDayNumberZero = 1721410;

const QString kNoDxHint = QStringLiteral("Enter a DX station: [CALL] LOCATOR or LAT,LON [HEIGHT]");
const QStringList kFigureRows{QStringLiteral("Home echo (Hz)"), QStringLiteral("DX hears (Hz)"),
                              QStringLiteral("Tsky (K)"), QStringLiteral("Degradation (dB)")};
const QStringList kWindowColumns{QStringLiteral("Start (UTC)"), QStringLiteral("End (UTC)"), QStringLiteral("Minutes"),
                                 QStringLiteral("Home max (deg)"), QStringLiteral("DX max (deg)")};

// The default size, smaller where the screen's available area (without its panels) would not hold the
// window framed at the default position: on a 1366 x 768 laptop the chart's time axis stays in sight.
QSize DefaultSizeOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return kDefaultSize;
    const QRect area = screen->availableGeometry();
    const QSize room(area.right() + 1 - kDefaultWindowPosition.x(), area.bottom() + 1 - kDefaultWindowPosition.y());
    return kDefaultSize.boundedTo(room - kFrameAllowance);
}

QDate DateOfDayNumber(int dayNumber) { return QDate::fromJulianDay(dayNumber + kJulianDayOfDayNumberZero); }
int DayNumberOfDate(const QDate& date) { return int(date.toJulianDay() - kJulianDayOfDayNumberZero); }

QString SiteText(const nav::ObserverSite& s) {
    return QString::fromStdString(nav::LocatorOf(s.latitude, s.longitude)) + QStringLiteral("   ") +
           FixedText(s.latitude, 4) + QStringLiteral(", ") + FixedText(s.longitude, 4) + QStringLiteral("   ") +
           FixedText(s.height, 0) + QStringLiteral(" m");
}

QTableWidget* MakeTable(QWidget* parent, const char* name, int rows, const QStringList& columns) {
    auto* table = new QTableWidget(rows, int(columns.size()), parent);
    table->setObjectName(QLatin1String(name));
    table->setHorizontalHeaderLabels(columns);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    return table;
}

// The figures change every second: a cell's item is made once and then only given its new text.
void SetCell(QTableWidget* table, int row, int column, const QString& text) {
    if (QTableWidgetItem* shown = table->item(row, column)) {
        shown->setText(text);
        return;
    }
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table->setItem(row, column, item);
}

QString UtcText(int firstDay, long long second) {
    const QDate date = DateOfDayNumber(firstDay + int(second / nav::kSecondsPerDay));
    const int s = int(second % nav::kSecondsPerDay);
    return date.toString(Qt::ISODate) + QStringLiteral(" ") +
           QStringLiteral("%1:%2:%3").arg(s / 3600, 2, 10, QLatin1Char('0')).arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
               .arg(s % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

PlannerWindow::PlannerWindow(const nav::SkyState& sky, const nav::ObserverSite& home, SettingsStore& store)
    : SecondaryWindow(store, kFormNumber, QStringLiteral("EME Planner"),
                      LoadWindowSize(store, kFormNumber, DefaultSizeOnScreen()), true),
      sky_(sky),
      home_(home),
      settings_(LoadPlannerSettings(store)) {
    setObjectName(QStringLiteral("PlannerWindow"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    // Unlike the fixed windows, the planner is resizable: its stored size is only where it starts.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    buildLayout();
    showLimits();
    if (!settings_.recentDx.isEmpty()) applyDxEntry(settings_.recentDx.front());
    else dxMessage->setText(kNoDxHint);

    refreshEachSecondInSight([this] { refresh(); });
    refresh();
}

void PlannerWindow::buildLayout() {
    auto* layout = new QVBoxLayout(this);
    homeLabel = new QLabel(this);
    homeLabel->setObjectName(QStringLiteral("homeLabel"));
    layout->addWidget(homeLabel);

    auto* dxRow = new QHBoxLayout;
    dxRow->addWidget(new QLabel(QStringLiteral("DX:"), this));
    dxBox = new QComboBox(this);
    dxBox->setObjectName(QStringLiteral("dxBox"));
    dxBox->setEditable(true);
    dxBox->setInsertPolicy(QComboBox::NoInsert);
    dxBox->setMinimumWidth(260);
    dxBox->setToolTip(QStringLiteral(" [CALL] LOCATOR or LAT,LON [HEIGHT m], e.g. N0CALL FN20qi 30 "));
    dxRow->addWidget(dxBox);
    setDxButton = new QPushButton(QStringLiteral("Set"), this);
    setDxButton->setObjectName(QStringLiteral("setDxButton"));
    dxRow->addWidget(setDxButton);
    dxMessage = new QLabel(this);
    dxMessage->setObjectName(QStringLiteral("dxMessage"));
    SetTextColour(*dxMessage, Qt::darkRed);
    dxRow->addWidget(dxMessage, 1);
    layout->addLayout(dxRow);
    connect(setDxButton, &QPushButton::clicked, this, [this] { applyDxEntry(dxBox->currentText()); });
    connect(dxBox->lineEdit(), &QLineEdit::returnPressed, this, [this] { applyDxEntry(dxBox->currentText()); });
    connect(dxBox, &QComboBox::activated, this, [this](int index) { applyDxEntry(dxBox->itemText(index)); });

    auto* limitsRow = new QHBoxLayout;
    limitsRow->addWidget(new QLabel(QStringLiteral("Min elevation (deg):"), this));
    minElevationBox = new QLineEdit(this);
    minElevationBox->setObjectName(QStringLiteral("minElevationBox"));
    minElevationBox->setMaximumWidth(60);
    limitsRow->addWidget(minElevationBox);
    limitsRow->addSpacing(12);
    limitsRow->addWidget(new QLabel(QStringLiteral("Trx (K):"), this));
    for (std::size_t band = 0; band < nav::kBandCount; ++band) {
        limitsRow->addWidget(new QLabel(FixedText(nav::kEmeBandsMHz[band], 0) + QStringLiteral(":"), this));
        trxBoxes[band] = new QLineEdit(this);
        trxBoxes[band]->setObjectName(QStringLiteral("trxBox%1").arg(band));
        trxBoxes[band]->setMaximumWidth(55);
        limitsRow->addWidget(trxBoxes[band]);
    }
    limitsMessage = new QLabel(this);
    limitsMessage->setObjectName(QStringLiteral("limitsMessage"));
    SetTextColour(*limitsMessage, Qt::darkRed);
    limitsRow->addWidget(limitsMessage, 1);
    layout->addLayout(limitsRow);
    connect(minElevationBox, &QLineEdit::editingFinished, this, &PlannerWindow::applyLimits);
    for (QLineEdit* box : trxBoxes) connect(box, &QLineEdit::editingFinished, this, &PlannerWindow::applyLimits);

    dxMoonLabel = new QLabel(this);
    dxMoonLabel->setObjectName(QStringLiteral("dxMoonLabel"));
    polarisationLabel = new QLabel(this);
    polarisationLabel->setObjectName(QStringLiteral("polarisationLabel"));
    auto* liveRow = new QHBoxLayout;
    liveRow->addWidget(dxMoonLabel);
    liveRow->addSpacing(24);
    liveRow->addWidget(polarisationLabel, 1);
    layout->addLayout(liveRow);

    QStringList bands;
    for (const double f : nav::kEmeBandsMHz) bands << FixedText(f, 0) + QStringLiteral(" MHz");
    figuresTable = MakeTable(this, "figuresTable", int(kFigureRows.size()), bands);
    figuresTable->setVerticalHeaderLabels(kFigureRows);
    figuresTable->setMaximumHeight(150);
    layout->addWidget(figuresTable);

    layout->addWidget(new QLabel(QStringLiteral("Common Moon windows, today and the next six days:"), this));
    windowsTable = MakeTable(this, "windowsTable", 0, kWindowColumns);
    windowsTable->verticalHeader()->hide();
    windowsTable->setMaximumHeight(170);
    layout->addWidget(windowsTable);

    auto* chartRow = new QHBoxLayout;
    chartRow->addWidget(new QLabel(QStringLiteral("Day (UTC):"), this));
    chartDay = new QDateEdit(this);
    chartDay->setObjectName(QStringLiteral("chartDay"));
    chartDay->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    chartDay->setDate(DateOfDayNumber(today()));
    chartRow->addWidget(chartDay);
    chartRow->addStretch(1);
    saveChartButton = new QPushButton(QStringLiteral("Save chart as PNG..."), this);
    saveChartButton->setObjectName(QStringLiteral("saveChartButton"));
    chartRow->addWidget(saveChartButton);
    layout->addLayout(chartRow);
    connect(chartDay, &QDateEdit::dateChanged, this, &PlannerWindow::rebuildChart);
    connect(saveChartButton, &QPushButton::clicked, this, &PlannerWindow::saveChartClicked);

    chartView = new QChartView(new QChart, this);
    chartView->setObjectName(QStringLiteral("chartView"));
    chartView->setRenderHint(QPainter::Antialiasing);
    chartView->setMinimumHeight(kChartMinimumHeight);
    layout->addWidget(chartView, 1);
}

void PlannerWindow::refresh() {
    const bool engineChanged =
        home_.ephemeris != homeSite_.site.ephemeris || home_.dut1Seconds != homeSite_.site.dut1Seconds ||
        home_.iers != homeSite_.site.iers;
    const bool homeMoved = home_.latitude != homeSite_.site.latitude || home_.longitude != homeSite_.site.longitude ||
                           home_.height != homeSite_.site.height || engineChanged;
    if (homeMoved) {
        homeSite_ = nav::MakePlannerSite(home_.latitude, home_.longitude, home_.height, home_);
        homeLabel->setText(QStringLiteral("Home: ") + SiteText(homeSite_.site));
    }
    if (engineChanged && dx_) dxSite_ = dxPlannerSite(*dx_);
    if (!dx_) return;
    if (homeMoved || windowsDay_ != today()) {
        if (chartDay->date() == DateOfDayNumber(windowsDay_)) {
            // The chart is rebuilt below, once the new days' windows are found.
            const QSignalBlocker quiet(chartDay);
            chartDay->setDate(DateOfDayNumber(today()));
        }
        recomputeWindows();
        rebuildChart();
    }
    nav::SkyState workspace = sky_;
    const nav::PlannerFigures f = nav::ComputePlannerFigures(workspace, homeSite_, dxSite_, today(), nav::SecondOfDay(sky_.clock),
                                                             ShippedSkySurvey(), settings_.receiverKelvin);
    dxMoonLabel->setText(QStringLiteral("DX Moon: Az ") + FixedText(f.dx.azimuth, 2) + QStringLiteral("  El ") +
                         FixedText(f.dx.elevation, 2));
    polarisationLabel->setText(QStringLiteral("Polarisation offset ") + FixedText(f.polarisationOffset, 1) +
                               QStringLiteral(" deg, loss ") + FixedText(f.polarisationLoss, 1) + QStringLiteral(" dB"));
    for (std::size_t band = 0; band < nav::kBandCount; ++band) {
        const int column = int(band);
        SetCell(figuresTable, 0, column, FixedText(f.homeEchoDoppler[band], 0));
        SetCell(figuresTable, 1, column, FixedText(f.crossDoppler[band], 0));
        SetCell(figuresTable, 2, column, FixedText(f.sky.skyTemperature[band], 1));
        SetCell(figuresTable, 3, column, FixedText(f.sky.degradation[band], 2));
    }
    if (QChart* chart = chartView->chart(); chart && DayNumberOfDate(chartDay->date()) == today())
        MoveNowLine(*chart, nav::SecondOfDay(sky_.clock) / nav::kSecondsPerHour);
}

nav::PlannerSite PlannerWindow::dxPlannerSite(const nav::DxStation& station) const {
    return nav::MakePlannerSite(station.point.latitude, station.point.longitude, station.height, home_);
}

void PlannerWindow::applyDxEntry(const QString& text) {
    std::string error;
    const auto station = nav::ParseDxEntry(text.toStdString(), error);
    if (!station) {
        dxMessage->setText(QString::fromStdString(error));
        return;
    }
    dxMessage->clear();
    dx_ = station;
    dxSite_ = dxPlannerSite(*station);
    settings_.recentDx = WithRecentDx(settings_.recentDx, QString::fromStdString(nav::DxEntryText(*station)));
    SavePlannerSettings(store(), settings_);
    dxBox->clear();
    dxBox->addItems(settings_.recentDx);
    dxBox->setCurrentIndex(0);
    windowsDay_ = 0;  // the next refresh finds the windows and draws the chart for the new station
    refresh();
    emit dxStationChosen(dxSite_);
}

void PlannerWindow::showLimits() {
    minElevationBox->setText(QString::number(settings_.minElevation));
    for (std::size_t band = 0; band < nav::kBandCount; ++band)
        trxBoxes[band]->setText(QString::number(settings_.receiverKelvin[band]));
}

void PlannerWindow::applyLimits() {
    PlannerSettings next = settings_;
    QString message;
    const auto read = [&message](QLineEdit* box, double lowest, double highest, const QString& range) {
        const auto value = ParseReal(box->text());
        if (!value) message = InvalidRealMessage(box->text());
        else if (*value < lowest || *value > highest) message = QStringLiteral("%1 is out of range: %2").arg(box->text(), range);
        else return *value;
        return std::nan("");
    };
    const double minimum = read(minElevationBox, nav::kLowestMinimumElevationDeg, nav::kHighestMinimumElevationDeg,
                                QStringLiteral("the minimum elevation runs from -5 to 60 deg"));
    if (!std::isnan(minimum)) next.minElevation = minimum;
    for (std::size_t band = 0; band < nav::kBandCount; ++band) {
        const double trx = read(trxBoxes[band], kLowestReceiverKelvin, kHighestReceiverKelvin,
                                QStringLiteral("Trx runs from 1 to 10000 K"));
        if (!std::isnan(trx)) next.receiverKelvin[band] = trx;
    }
    limitsMessage->setText(message);
    const bool minimumChanged = next.minElevation != settings_.minElevation;
    const bool changed = minimumChanged || next.receiverKelvin != settings_.receiverKelvin;
    settings_ = next;
    showLimits();
    if (!changed) return;
    SavePlannerSettings(store(), settings_);
    if (minimumChanged) windowsDay_ = 0;
    refresh();
}

void PlannerWindow::recomputeWindows() {
    windowsDay_ = today();
    nav::SkyState workspace = sky_;
    windows_ = nav::FindCommonWindows(workspace, homeSite_, dxSite_, windowsDay_, kWindowDays, settings_.minElevation);
    windowsTable->setRowCount(int(windows_.size()));
    for (int row = 0; row < int(windows_.size()); ++row) {
        const nav::CommonWindow& w = windows_[row];
        SetCell(windowsTable, row, 0, UtcText(windowsDay_, w.start));
        SetCell(windowsTable, row, 1, UtcText(windowsDay_, w.end));
        SetCell(windowsTable, row, 2, FixedText(w.minutes(), 1));
        SetCell(windowsTable, row, 3, FixedText(w.homeMaxElevation, 1));
        SetCell(windowsTable, row, 4, FixedText(w.dxMaxElevation, 1));
    }
}

void PlannerWindow::rebuildChart() {
    if (!dx_) return;
    const int day = DayNumberOfDate(chartDay->date());
    nav::SkyState workspace = sky_;
    const nav::DayProfile profile =
        nav::ComputeDayProfile(workspace, homeSite_, dxSite_, day, kChartStepSeconds, ShippedSkySurvey());
    const std::vector<nav::CommonWindow> dayWindows =
        nav::FindCommonWindows(workspace, homeSite_, dxSite_, day, 1, settings_.minElevation);
    const std::optional<double> now = day == today() ? std::optional(nav::SecondOfDay(sky_.clock) / nav::kSecondsPerHour) : std::nullopt;
    QChart* chart = chartView->chart();
    BuildDayChart(*chart, profile, dayWindows, settings_.minElevation, now);
    chart->setTitle(QStringLiteral("Moon elevation on ") + chartDay->date().toString(Qt::ISODate) +
                    QStringLiteral(" (UTC), home and ") + QString::fromStdString(nav::DxEntryText(*dx_)));
}

bool PlannerWindow::saveChart(const QString& path) { return chartView->grab().save(path, "PNG"); }

void PlannerWindow::saveChartClicked() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save chart"), QStringLiteral("moon-day.png"),
                                                      QStringLiteral("PNG pictures (*.png)"));
    if (!path.isEmpty() && !saveChart(path))
        ShowMessage(this, QMessageBox::Critical, path + QStringLiteral(": cannot be written"),
                    QStringLiteral("SaveChartErrorBox"));
}

void PlannerWindow::closeEvent(QCloseEvent* event) {
    SecondaryWindow::closeEvent(event);
    if (IsInNormalState(*this)) SaveWindowSize(store(), kFormNumber, size());
}

}  // namespace skyrel

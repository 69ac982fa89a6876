#include "ui/calibrationwindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "app/settings/plannersettings.h"
#include "navlib/eme.h"
#include "navlib/formatfixed.h"
#include "navlib/radiosource.h"

namespace skyrel {
namespace {

constexpr int kFormNumber = 6;
constexpr QSize kClientSize(720, 530);
const QString kDash = QStringLiteral("-");
// The rows below the predictions: the measured Y's boxes and what they imply.
constexpr int kMeasuredRows = 3;

QString Fixed(double value, int decimals) { return QString::fromStdString(nav::FixedDecimals(value, decimals)); }

QLineEdit* AddBox(QWidget* parent, const char* name, int width) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaximumWidth(width);
    return box;
}

void SetCell(QTableWidget& table, int row, int column, const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled);
    table.setItem(row, column, item);
}

}  // namespace

CalibrationWindow::CalibrationWindow(const nav::SkyState& sky, const nav::ObserverSite& site, SettingsStore& store)
    : SecondaryWindow(store, kFormNumber, QStringLiteral("Calibration"), kClientSize), sky_(sky), site_(site) {
    setObjectName(QStringLiteral("CalibrationWindow"));
    const CalibrationLoad load = LoadCalibrationSettings(store);
    settings_ = load.settings;
    buildLayout();
    showForm();
    message->setText(load.refusals.value_or(QString()));
    refreshEachSecondInSight([this] { refresh(); });
    refresh();
}

void CalibrationWindow::buildLayout() {
    auto* layout = new QVBoxLayout(this);
    auto* dishRow = new QHBoxLayout;
    diameterBox = AddBox(this, "diameterBox", 60);
    efficiencyBox = AddBox(this, "efficiencyBox", 60);
    moonBox = AddBox(this, "moonBox", 60);
    dishRow->addWidget(new QLabel(QStringLiteral("Dish diameter (m)"), this));
    dishRow->addWidget(diameterBox);
    dishRow->addWidget(new QLabel(QStringLiteral("Efficiency"), this));
    dishRow->addWidget(efficiencyBox);
    dishRow->addWidget(new QLabel(QStringLiteral("Moon Tb (K)"), this));
    dishRow->addWidget(moonBox);
    dishRow->addStretch();
    layout->addLayout(dishRow);

    auto* fluxRow = new QHBoxLayout;
    fluxBox = AddBox(this, "fluxBox", 260);
    fluxBox->setToolTip(
        QStringLiteral(" MHz:sfu, comma separated: the 2800 MHz index at least, e.g. 2800:120,1415:85 "));
    fluxBox->setPlaceholderText(QStringLiteral("2800:120,1415:85"));
    fluxDateBox = AddBox(this, "fluxDateBox", 100);
    fluxDateBox->setPlaceholderText(QStringLiteral("YYYY-MM-DD"));
    applyButton = new QPushButton(QStringLiteral("Apply"), this);
    applyButton->setObjectName(QStringLiteral("applyButton"));
    fluxRow->addWidget(new QLabel(QStringLiteral("Solar flux (MHz:sfu)"), this));
    fluxRow->addWidget(fluxBox);
    fluxRow->addWidget(new QLabel(QStringLiteral("read on"), this));
    fluxRow->addWidget(fluxDateBox);
    fluxRow->addWidget(applyButton);
    fluxRow->addStretch();
    layout->addLayout(fluxRow);

    message = new QLabel(this);
    message->setObjectName(QStringLiteral("message"));
    message->setWordWrap(true);
    layout->addWidget(message);

    const std::size_t predictionRows = CalibrationRows({}).size() - 1;  // the frequency is the header
    table = new QTableWidget(int(predictionRows) + kMeasuredRows, int(nav::kBandCount), this);
    table->setObjectName(QStringLiteral("calibrationTable"));
    QStringList bands;
    for (const double band : nav::kEmeBandsMHz) bands << QStringLiteral("%1 MHz").arg(band);
    table->setHorizontalHeaderLabels(bands);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->verticalHeader()->setDefaultSectionSize(22);
    const int measuredRow = int(predictionRows);
    for (std::size_t band = 0; band < nav::kBandCount; ++band) {
        measuredBoxes[band] = new QLineEdit(table);
        measuredBoxes[band]->setObjectName(QStringLiteral("measuredBox%1").arg(band));
        measuredBoxes[band]->setAlignment(Qt::AlignRight);
        table->setCellWidget(measuredRow, int(band), measuredBoxes[band]);
        connect(measuredBoxes[band], &QLineEdit::editingFinished, this, &CalibrationWindow::applyForm);
    }
    layout->addWidget(table);

    sourcesLabel = new QLabel(this);
    sourcesLabel->setObjectName(QStringLiteral("sourcesLabel"));
    layout->addWidget(sourcesLabel);
    connect(applyButton, &QPushButton::clicked, this, &CalibrationWindow::applyForm);
}

void CalibrationWindow::showForm() {
    const CalibrationForm form = FormOfCalibration(settings_);
    diameterBox->setText(form.diameter);
    efficiencyBox->setText(form.efficiency);
    moonBox->setText(form.moonKelvin);
    fluxBox->setText(form.solarFlux);
    fluxDateBox->setText(form.fluxDate);
    for (std::size_t band = 0; band < nav::kBandCount; ++band) measuredBoxes[band]->setText(form.measuredY[band]);
}

void CalibrationWindow::applyForm() {
    CalibrationForm form{diameterBox->text(), efficiencyBox->text(), moonBox->text(), fluxBox->text(),
                         fluxDateBox->text(), {}};
    for (std::size_t band = 0; band < nav::kBandCount; ++band) form.measuredY[band] = measuredBoxes[band]->text();
    if (const auto refusal = ReadCalibrationForm(form, settings_)) {
        message->setText(*refusal);
        return;
    }
    message->clear();
    SaveCalibrationSettings(store(), settings_);
    showForm();
    refresh();
}

void CalibrationWindow::refresh() {
    const auto bands = CalibrationTable(settings_, LoadPlannerSettings(store()).receiverKelvin, sky_.moon.distance,
                                        nav::DecimalYear(sky_.clock.utcDay, sky_.clock.utcFraction));
    const std::vector<CalibrationRow> rows = CalibrationRows(bands);
    QStringList captions;
    for (std::size_t row = 1; row < rows.size(); ++row) {
        captions << rows[row].caption;
        for (std::size_t band = 0; band < nav::kBandCount; ++band)
            SetCell(*table, int(row - 1), int(band), rows[row].texts[band]);
    }
    const int measuredRow = int(rows.size() - 1);
    captions << QStringLiteral("Measured Sun Y (dB)") << QStringLiteral("G/T (dB/K)")
             << QStringLiteral("Implied Tsys (K)");
    table->setVerticalHeaderLabels(captions);
    for (std::size_t band = 0; band < nav::kBandCount; ++band) {
        const auto& y = settings_.measuredYDb[band];
        const auto measured = y ? nav::MeasuredOnSun(bands[band], *y) : std::nullopt;
        SetCell(*table, measuredRow + 1, int(band), measured ? Fixed(measured->gOverT, 1) : kDash);
        SetCell(*table, measuredRow + 2, int(band),
                measured && measured->systemKelvin ? Fixed(*measured->systemKelvin, 1) : kDash);
    }

    QStringList positions;
    for (const nav::RadioSource source : nav::kRadioSources) {
        const nav::BodyState b = nav::RefractedSourceAt(sky_, site_, source);
        positions << QStringLiteral("%1 az %2 el %3")
                         .arg(SourceName(source), Fixed(b.azimuth, 1), Fixed(b.elevation, 1));
    }
    sourcesLabel->setText(QStringLiteral("Now: ") + positions.join(QStringLiteral("   ")));
}

}  // namespace skyrel

#include "ui/radiodialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/radio/radiosession.h"
#include "app/rotator/hamlibmodels.h"
#include "app/settings/numbertext.h"
#include "navlib/eme.h"
#include "ui/widgets.h"

namespace skyrel {
namespace {

constexpr double kHzPerMHz = 1e6;

QString MegahertzText(double hz) { return QString::number(hz / kHzPerMHz, 'f', 6); }

std::optional<double> HertzOfMegahertz(const QString& text) {
    const std::optional<double> mhz = ParseReal(text);
    return mhz ? std::optional(*mhz * kHzPerMHz) : std::nullopt;
}

}  // namespace

RadioDialog::RadioDialog(SettingsStore& store, QWidget* parent) : QWidget(parent, Qt::Window), store_(store) {
    setObjectName(QStringLiteral("RadioDialog"));
    setWindowTitle(QStringLiteral("Radio"));
    buildControls();
}

void RadioDialog::buildControls() {
    enabledBox = new QCheckBox(QStringLiteral("Follow the Moon's Doppler with a Hamlib radio"), this);
    // After the check box: the order of the Tab key.
    models_ = new HamlibModelPicker(this, QStringLiteral("/dev/ttyUSB0, or host:port for NET rigctl"));
    filterBox = models_->filterBox;
    modelList = models_->modelList;
    modelList->setMinimumSize(360, 180);
    modelBox = models_->modelBox;
    deviceBox = models_->deviceBox;
    speedList = models_->speedList;
    modeList = new QComboBox(this);
    for (const nav::RadioMode mode : {nav::RadioMode::Off, nav::RadioMode::OwnEcho, nav::RadioMode::ConstantOnMoon,
                                      nav::RadioMode::FullToDx, nav::RadioMode::OnDxEcho, nav::RadioMode::CallDx})
        modeList->addItem(RadioModeText(mode));
    presetList = new QComboBox(this);
    presetList->addItem(QStringLiteral("Band preset…"));
    for (const double hz : kRadioBandPresetsHz) presetList->addItem(MegahertzText(hz) + QStringLiteral(" MHz"));
    rxSkyBox = new QLineEdit(this);
    txSkyBox = new QLineEdit(this);
    rxLoBox = new QLineEdit(this);
    txLoBox = new QLineEdit(this);
    for (QLineEdit* box : {rxLoBox, txLoBox})
        box->setToolTip(QStringLiteral("The converter's LO in MHz (negative below the band); 0 without one"));
    rxInvertBox = new QCheckBox(QStringLiteral("inverting"), this);
    txInvertBox = new QCheckBox(QStringLiteral("inverting"), this);
    stepBox = new QLineEdit(this);
    stepBox->setToolTip(QStringLiteral("The dial's step in Hz: the radio is set only when its dial moves a step"));
    splitList = new QComboBox(this);
    splitList->addItem(QStringLiteral("Rig"));
    splitList->addItem(QStringLiteral("None"));
    splitList->setToolTip(QStringLiteral("Rig: transmit on the radio's other VFO; None: receive only"));
    testButton = new QPushButton(QStringLiteral("Test"), this);
    testResult = new QLabel(this);
    testResult->setWordWrap(true);
    testResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    saveButton = new QPushButton(QStringLiteral("Save"), this);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);

    const auto pair = [](QWidget* a, QWidget* b) {
        auto* row = new QHBoxLayout;
        row->addWidget(a);
        row->addWidget(b);
        return row;
    };
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Model number:"), modelBox);
    form->addRow(QStringLiteral("Device:"), deviceBox);
    form->addRow(QStringLiteral("Speed (baud):"), speedList);
    form->addRow(QStringLiteral("Doppler:"), modeList);
    form->addRow(QStringLiteral("Sky RX / TX (MHz):"), pair(rxSkyBox, txSkyBox));
    form->addRow(QString(), presetList);
    form->addRow(QStringLiteral("RX converter LO (MHz):"), pair(rxLoBox, rxInvertBox));
    form->addRow(QStringLiteral("TX converter LO (MHz):"), pair(txLoBox, txInvertBox));
    form->addRow(QStringLiteral("Step (Hz):"), stepBox);
    form->addRow(QStringLiteral("Split:"), splitList);
    auto* test = new QHBoxLayout;
    test->addWidget(testButton);
    test->addWidget(testResult, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(saveButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(enabledBox);
    layout->addWidget(filterBox);
    layout->addWidget(modelList, 1);
    layout->addLayout(form);
    layout->addLayout(test);
    layout->addLayout(buttons);

    connect(presetList, &QComboBox::activated, this, &RadioDialog::presetChosen);
    connect(testButton, &QPushButton::clicked, this, &RadioDialog::testClicked);
    connect(saveButton, &QPushButton::clicked, this, &RadioDialog::saveClicked);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
}

void RadioDialog::presetChosen(int index) {
    if (index < 1) return;
    const QString sky = MegahertzText(kRadioBandPresetsHz[static_cast<std::size_t>(index - 1)]);
    rxSkyBox->setText(sky);
    txSkyBox->setText(sky);
    presetList->setCurrentIndex(0);
}

void RadioDialog::fillFromStore() {
    const RadioSettings stored = LoadRadioSettings(store_);
    enabledBox->setChecked(stored.enabled);
    models_->showLink(stored);
    modeList->setCurrentText(RadioModeText(stored.mode));
    rxSkyBox->setText(MegahertzText(stored.rxSky));
    txSkyBox->setText(MegahertzText(stored.txSky));
    rxLoBox->setText(MegahertzText(stored.rx.loHz));
    txLoBox->setText(MegahertzText(stored.tx.loHz));
    rxInvertBox->setChecked(stored.rx.inverting);
    txInvertBox->setChecked(stored.tx.inverting);
    stepBox->setText(QString::number(stored.step));
    splitList->setCurrentIndex(stored.split == RadioSplit::Rig ? 0 : 1);
    testResult->clear();
}

void RadioDialog::showEvent(QShowEvent* event) {
    // The model list is read from Hamlib at the first opening only: a station whose radio dialog never
    // opens never loads Hamlib for it.
    if (!event->spontaneous()) {
        models_->fill(HamlibRadioModels());
        fillFromStore();
    }
    QWidget::showEvent(event);
}

RadioSettings RadioDialog::currentOptions() const {
    RadioSettings options;
    static_cast<HamlibDeviceSettings&>(options) = models_->link(enabledBox->isChecked());
    options.mode = RadioModeOfText(modeList->currentText()).value_or(options.mode);
    options.rxSky = HertzOfMegahertz(rxSkyBox->text()).value_or(options.rxSky);
    options.txSky = HertzOfMegahertz(txSkyBox->text()).value_or(options.txSky);
    options.rx = {HertzOfMegahertz(rxLoBox->text()).value_or(0), rxInvertBox->isChecked()};
    options.tx = {HertzOfMegahertz(txLoBox->text()).value_or(0), txInvertBox->isChecked()};
    options.step = ParseReal(stepBox->text()).value_or(options.step);
    options.split = splitList->currentIndex() == 0 ? RadioSplit::Rig : RadioSplit::None;
    return options;
}

std::optional<QString> RadioDialog::frequencyProblem() const {
    const struct {
        const char* caption;
        const QLineEdit* box;
        double unitHz;
        const NumberRange& range;
    } checks[] = {{"Sky RX", rxSkyBox, kHzPerMHz, kRadioSkyRange}, {"Sky TX", txSkyBox, kHzPerMHz, kRadioSkyRange},
                  {"RX LO", rxLoBox, kHzPerMHz, kRadioLoRange},    {"TX LO", txLoBox, kHzPerMHz, kRadioLoRange},
                  {"Step", stepBox, 1, kRadioStepRange}};
    for (const auto& check : checks) {
        const std::optional<double> value = ParseReal(check.box->text());
        const QString hertz = value ? QString::number(*value * check.unitHz, 'f', 0) : check.box->text();
        if (const std::optional<QString> refusal = RangeRefusal(hertz, check.range))
            return QStringLiteral("%1: %2").arg(QLatin1String(check.caption), *refusal);
    }
    return std::nullopt;
}

void RadioDialog::saveClicked() {
    std::optional<QString> problem = models_->problem(HamlibKind::Radio);
    if (!problem) problem = frequencyProblem();
    if (problem) {
        ShowMessage(this, QMessageBox::Warning, *problem, QStringLiteral("RadioOptionsBox"));
        return;
    }
    const RadioSettings options = currentOptions();
    if (!SaveRadioSettings(store_, options))
        ShowMessage(this, QMessageBox::Critical, QStringLiteral("The radio options could not be stored."),
                    QStringLiteral("RadioStoreBox"));
    emit saved(options);
    close();
}

void RadioDialog::testClicked() {
    TestInBackground(
        this, testButton, testResult, [options = currentOptions()] { return ProbeRadio(options); },
        [](const RadioProbe& probe) {
            return probe.receiveDial ? QStringLiteral("Dial %1 MHz").arg(MegahertzText(*probe.receiveDial)) : probe.error;
        },
        [this](const QString& result) { emit testFinished(result); });
}

}  // namespace skyrel

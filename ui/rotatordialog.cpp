#include "ui/rotatordialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/rotator/hamlibmodels.h"
#include "app/rotator/hamlibsession.h"
#include "app/settings/numbertext.h"
#include "app/station/pointing.h"
#include "ui/widgets.h"

namespace skyrel {
namespace {

QString LimitText(std::optional<double> value) { return value ? QString::number(*value) : QString(); }

// An empty box leaves the limit to the rotator; anything else must be a number in the range a load keeps.
std::optional<QString> LimitRefusal(const QString& text) {
    if (text.trimmed().isEmpty()) return std::nullopt;
    return RangeRefusal(text.trimmed(), kRotatorLimitRange);
}

QString PositionText(RotatorPosition position) {
    return QStringLiteral("Az %1  El %2").arg(QString::number(position.azimuth, 'f', 1),
                                              QString::number(position.elevation, 'f', 1));
}

}  // namespace

RotatorDialog::RotatorDialog(SettingsStore& store, const Settings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), store_(store), settings_(settings) {
    setObjectName(QStringLiteral("RotatorDialog"));
    setWindowTitle(QStringLiteral("Rotator"));
    buildControls();
}

void RotatorDialog::buildControls() {
    enabledBox = new QCheckBox(QStringLiteral("Use a Hamlib rotator"), this);
    // After the check box: the order of the Tab key.
    models_ = new HamlibModelPicker(this, QStringLiteral("/dev/ttyUSB0, or host:port for NET rotctl"));
    filterBox = models_->filterBox;
    modelList = models_->modelList;
    modelList->setMinimumSize(360, 240);
    modelBox = models_->modelBox;
    deviceBox = models_->deviceBox;
    speedList = models_->speedList;
    stepBox = new QLineEdit(this);
    stepBox->setToolTip(QStringLiteral("Degrees the target must move before the rotator is commanded again; 0: every second"));
    moveSecondsBox = new QLineEdit(this);
    moveSecondsBox->setPlaceholderText(QStringLiteral("any second, or e.g. 50-59"));
    minAzimuthBox = new QLineEdit(this);
    maxAzimuthBox = new QLineEdit(this);
    minElevationBox = new QLineEdit(this);
    maxElevationBox = new QLineEdit(this);
    waitAtRiseBox = new QCheckBox(QStringLiteral("Wait at the rise azimuth while the target is down"), this);
    stepSerialLinesBox = new QCheckBox(QStringLiteral("Serial lines keep to the step too"), this);
    formatNote = new QLabel(QStringLiteral("The Hamlib rotator receives azimuth and elevation."), this);
    testButton = new QPushButton(QStringLiteral("Test"), this);
    testResult = new QLabel(this);
    testResult->setWordWrap(true);
    testResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    saveButton = new QPushButton(QStringLiteral("Save"), this);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Model number:"), modelBox);
    form->addRow(QStringLiteral("Device:"), deviceBox);
    form->addRow(QStringLiteral("Speed (baud):"), speedList);
    form->addRow(QStringLiteral("Step (degrees):"), stepBox);
    form->addRow(QStringLiteral("Move seconds:"), moveSecondsBox);
    auto* azimuthRange = new QHBoxLayout;
    azimuthRange->addWidget(minAzimuthBox);
    azimuthRange->addWidget(maxAzimuthBox);
    form->addRow(QStringLiteral("Azimuth min / max:"), azimuthRange);
    auto* elevationRange = new QHBoxLayout;
    elevationRange->addWidget(minElevationBox);
    elevationRange->addWidget(maxElevationBox);
    form->addRow(QStringLiteral("Elevation min / max:"), elevationRange);
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
    layout->addWidget(waitAtRiseBox);
    layout->addWidget(stepSerialLinesBox);
    layout->addWidget(formatNote);
    layout->addLayout(test);
    layout->addLayout(buttons);

    connect(testButton, &QPushButton::clicked, this, &RotatorDialog::testClicked);
    connect(saveButton, &QPushButton::clicked, this, &RotatorDialog::saveClicked);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
}

void RotatorDialog::fillFromStore() {
    const HamlibSettings stored = LoadHamlibSettings(store_);
    enabledBox->setChecked(stored.enabled);
    models_->showLink(stored);
    stepBox->setText(QString::number(stored.step));
    moveSecondsBox->setText(stored.moveSeconds);
    minAzimuthBox->setText(LimitText(stored.minAzimuth));
    maxAzimuthBox->setText(LimitText(stored.maxAzimuth));
    minElevationBox->setText(LimitText(stored.minElevation));
    maxElevationBox->setText(LimitText(stored.maxElevation));
    for (QLineEdit* box : {minAzimuthBox, maxAzimuthBox, minElevationBox, maxElevationBox})
        box->setPlaceholderText(QStringLiteral("rotator's"));
    waitAtRiseBox->setChecked(stored.waitAtRise);
    stepSerialLinesBox->setChecked(stored.stepSerialLines);
    formatNote->setVisible(!IsAzElFormat(settings_.outputFormat));
    testResult->clear();
}

void RotatorDialog::showEvent(QShowEvent* event) {
    // Each opening shows the options in effect. The first reads Hamlib's model list: a station whose
    // dialog never opens never loads Hamlib.
    if (!event->spontaneous()) {
        models_->fill(HamlibModels());
        fillFromStore();
    }
    QWidget::showEvent(event);
}

HamlibSettings RotatorDialog::currentOptions() const {
    HamlibSettings options;
    static_cast<HamlibDeviceSettings&>(options) = models_->link(enabledBox->isChecked());
    options.step = ParseReal(stepBox->text()).value_or(options.step);
    options.moveSeconds = moveSecondsBox->text().trimmed();
    options.minAzimuth = ParseReal(minAzimuthBox->text());
    options.maxAzimuth = ParseReal(maxAzimuthBox->text());
    options.minElevation = ParseReal(minElevationBox->text());
    options.maxElevation = ParseReal(maxElevationBox->text());
    options.waitAtRise = waitAtRiseBox->isChecked();
    options.stepSerialLines = stepSerialLinesBox->isChecked();
    return options;
}

std::optional<QString> RotatorDialog::motionProblem() const {
    if (const auto refusal = RangeRefusal(stepBox->text(), kRotatorStepRange)) return QStringLiteral("Step: ") + *refusal;
    const QString seconds = moveSecondsBox->text().trimmed();
    if (!seconds.isEmpty() && !ParseMoveSeconds(seconds))
        return QStringLiteral("Move seconds: a range of seconds such as 50-59, or nothing for any second");
    for (const QLineEdit* box : {minAzimuthBox, maxAzimuthBox, minElevationBox, maxElevationBox})
        if (const auto refusal = LimitRefusal(box->text()))
            return QStringLiteral("Limits: %1, or nothing for the rotator's own").arg(*refusal);
    return std::nullopt;
}

void RotatorDialog::showRotatorLimits(const RotatorLimits& limits) {
    minAzimuthBox->setPlaceholderText(QString::number(limits.minAzimuth));
    maxAzimuthBox->setPlaceholderText(QString::number(limits.maxAzimuth));
    minElevationBox->setPlaceholderText(QString::number(limits.minElevation));
    maxElevationBox->setPlaceholderText(QString::number(limits.maxElevation));
}

void RotatorDialog::saveClicked() {
    std::optional<QString> problem = models_->problem(HamlibKind::Rotator);
    if (!problem) problem = motionProblem();
    if (problem) {
        ShowMessage(this, QMessageBox::Warning, *problem, QStringLiteral("RotatorOptionsBox"));
        return;
    }
    const HamlibSettings options = currentOptions();
    if (!SaveHamlibSettings(store_, options))
        ShowMessage(this, QMessageBox::Critical, QStringLiteral("The rotator options could not be stored."),
                    QStringLiteral("RotatorStoreBox"));
    emit saved(options);
    close();
}

void RotatorDialog::testClicked() {
    TestInBackground(
        this, testButton, testResult, [options = currentOptions()] { return ProbeRotator(options); },
        [this](const RotatorProbe& probe) {
            if (probe.limits) showRotatorLimits(*probe.limits);
            return probe.position ? PositionText(*probe.position) : probe.error;
        },
        [this](const QString& result) { emit testFinished(result); });
}

}  // namespace skyrel

#include "ui/emewindow.h"

#include "app/radio/radiofollower.h"
#include "ui/displaytext.h"

namespace skyrel {
namespace {

constexpr int kFormNumber = 4;
constexpr int kRowHeight = 17;
// Value labels start this wide and grow to the left with their text.
constexpr int kValueWidth = 60;
// The radio's line wraps onto two rows.
constexpr int kRadioHeight = 40;

}  // namespace

TSMForm4::TSMForm4(const nav::EmeFigures& figures, SettingsStore& store)
    : SecondaryWindow(store, kFormNumber, QStringLiteral("  EME"), QSize(237, 274 + kRadioHeight)), figures_(figures) {
    setObjectName(QStringLiteral("SMForm4"));

    const auto caption = [this](const QString& text, int left, int top) { AddCaption(this, text, left, top); };
    const auto value = [this](const char* name, int top, int rightEdge) {
        return AddValue(this, name, rightEdge - kValueWidth, top, kValueWidth, kRowHeight);
    };
    caption(QStringLiteral("Range Rate (km/s):"), 16, 16);
    rangeRate = value("RangeRate", 16, 209);
    caption(QStringLiteral("Perigee Relative dB:"), 16, 40);
    pathLoss = value("PathLoss", 40, 209);
    caption(QStringLiteral("Echo delay (secs):"), 16, 64);
    echoDelay = value("EchoDelay", 64, 209);
    caption(QStringLiteral("Echo Doppler (Hz)"), 16, 88);
    const char* bands[] = {"V-band:", "U-band:", "L-band:", "S-band:", "X-band:"};
    const char* names[] = {"DopplerV", "DopplerU", "DopplerL", "DopplerS", "DopplerX"};
    for (int i = 0; i < 5; ++i) {
        caption(QLatin1String(bands[i]), 56, 112 + 24 * i);
        doppler[i] = value(names[i], 112 + 24 * i, 177);
    }
    radioStatus = new QLabel(kRadioOffText, this);
    radioStatus->setObjectName(QStringLiteral("RadioStatus"));
    radioStatus->setWordWrap(true);
    radioStatus->setGeometry(16, 234, 213, kRadioHeight);
    Button1 = new QPushButton(QStringLiteral("Close"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(80, 240 + kRadioHeight, 65, 25);
    connect(Button1, &QPushButton::clicked, this, &TSMForm4::Button1Click);

    refreshEachSecondInSight([this] { Timer1Timer(); });
    Timer1Timer();
}

void TSMForm4::Timer1Timer() {
    rangeRate->setValueText(FixedText(figures_.moonRangeRate, 4, 3));
    for (int i = 0; i < 5; ++i) doppler[i]->setValueText(FixedText(figures_.dopplerShift[i], 5, 0));
    pathLoss->setValueText(FixedText(figures_.pathLossVsPerigee, 3, 2));
    echoDelay->setValueText(FixedText(figures_.echoDelay, 3, 2));
}

void TSMForm4::Button1Click() { hide(); }

void TSMForm4::showRadio(const QString& text, bool warning) {
    radioStatus->setText(text);
    SetTextColour(*radioStatus, warning ? kWarningColour : QColor(0, 0, 0));
}

}  // namespace skyrel

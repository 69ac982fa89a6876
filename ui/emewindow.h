// The EME window: range rate, path loss against perigee, echo delay and the echo Doppler on five bands,
// copied from the figures of the latest cycle by the window's own one-second timer while it is in sight;
// below them the radio's dials as the Doppler correction set them.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <array>

#include "navlib/eme.h"
#include "ui/secondarywindow.h"
#include "ui/widgets.h"

namespace skyrel {

class TSMForm4 : public SecondaryWindow {
    Q_OBJECT

public:
    TSMForm4(const nav::EmeFigures& figures, SettingsStore& store);

    void Timer1Timer();
    void Button1Click();
    // The radio's line (RadioStatusText), in the warning colour for a radio that is lost.
    void showRadio(const QString& text, bool warning);
    QTimer& Timer1() { return refreshTimer(); }

    RightAlignedLabel* rangeRate;
    RightAlignedLabel* pathLoss;
    RightAlignedLabel* echoDelay;
    std::array<RightAlignedLabel*, 5> doppler;
    QLabel* radioStatus;
    QPushButton* Button1;

private:
    const nav::EmeFigures& figures_;
};

}  // namespace skyrel

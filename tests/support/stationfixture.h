// A station on a fake clock at 2005-09-21 17:15:00 UT at the default site (38.02 N, 78.63 W, 100 m), where
// the Sun stands at azimuth 183.08, elevation 52.42 (refraction included) and the Moon below the horizon;
// its settings in memory and serial port 1 a pseudo-terminal. The test runs the cycle itself.
#pragma once

#include <gtest/gtest.h>

#include "app/settings/settingsstore.h"
#include "app/station/station.h"
#include "tests/support/fakeclock.h"
#include "tests/support/pseudoterminal.h"

namespace skyrel::test {

class StationOnPseudoTerminal : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.isOpen());
        store.write(kPortsGroup, QStringLiteral("1"), pty.devicePath());
    }

    FakeClock clock{2005, 9, 21, 17, 15, 0};
    MemorySettingsStore store;
    Station station{clock, store};
    AppState& state = station.state();
    PseudoTerminal pty;
};

}  // namespace skyrel::test

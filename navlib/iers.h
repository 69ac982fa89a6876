// UT1 - UTC from the IERS Earth-orientation series in the finals2000A layout (Bulletin A, observed and
// predicted daily rows), and the choice between it and the site's stored DUT1.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "navlib/skystate.h"

namespace nav {

// UT1 - UTC at an instant and whether it rests on a predicted row.
struct Dut1Reading {
    double seconds = 0;
    bool predicted = false;
};

class IersTable {
public:
    // FromFinals2000A - the daily rows of a finals2000A text that carry a UT1 - UTC value: the modified
    // Julian date from columns 8-15, the I/P flag from column 58, UT1 - UTC (s) from columns 59-68.
    // Lines too short, without a value or out of date order are passed over. Empty when no row is left.
    static std::optional<IersTable> FromFinals2000A(std::string_view text);

    // Dut1At - UT1 - UTC (s) at utcDay + utcFraction (day number and fraction of the UTC day, which may
    // exceed 1), linear between the rows of the day and of the next (0h UTC each). Across a leap second
    // (rows about 1 s apart) the later row is taken less the whole seconds, so that the day before it
    // carries no part of the step. Predicted when either row is. Nothing where the day or the next has
    // no row (before the first row, after the last row's 0h, in a gap).
    //   accuracy: that of the rows (observed: 0.01 ms; predicted: a few ms a month ahead)
    std::optional<Dut1Reading> dut1At(int utcDay, double utcFraction) const;

    int firstDay() const;  // day number of the first row
    int lastDay() const;   // day number of the last row

private:
    struct Row {
        int day;       // day number
        double dut1;   // s
        bool predicted;
    };
    explicit IersTable(std::vector<Row> rows) : rows_(std::move(rows)) {}
    std::vector<Row> rows_;
};

// Where the UT1 - UTC of an instant came from.
enum class Dut1Source { IersObserved, IersPredicted, Stored };

struct Dut1Choice {
    double seconds = 0;
    Dut1Source source = Dut1Source::Stored;
};

// Dut1For - the site's IERS table at the instant when it covers it, else the stored site.dut1Seconds.
Dut1Choice Dut1For(const ObserverSite& site, int utcDay, double utcFraction);

}  // namespace nav

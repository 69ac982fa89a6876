#include "navlib/iers.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace nav {
namespace {

// Modified Julian date of day number 0.
constexpr int kModifiedJulianDateOfDayNumberZero = -678591;

// finals2000A columns (0-based start, width): MJD, the UT1 - UTC flag, UT1 - UTC.
constexpr std::size_t kMjdColumn = 7, kMjdWidth = 8;
constexpr std::size_t kUt1FlagColumn = 57;
constexpr std::size_t kUt1Column = 58, kUt1Width = 10;

// Rows further apart than this in UT1 - UTC (s) straddle a leap second.
constexpr double kLeapStepSeconds = 0.5;

std::optional<double> NumberIn(std::string_view line, std::size_t column, std::size_t width) {
    std::string_view field = line.substr(column, width);
    while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
    while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || error != std::errc() || end != field.data() + field.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<IersTable> IersTable::FromFinals2000A(std::string_view text) {
    std::vector<Row> rows;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.size() < kUt1Column + kUt1Width) continue;
        const auto mjd = NumberIn(line, kMjdColumn, kMjdWidth);
        const auto dut1 = NumberIn(line, kUt1Column, kUt1Width);
        if (!mjd || !dut1) continue;
        const int day = int(std::lround(*mjd)) - kModifiedJulianDateOfDayNumberZero;
        if (!rows.empty() && day <= rows.back().day) continue;
        rows.push_back({day, *dut1, line[kUt1FlagColumn] == 'P'});
    }
    if (rows.empty()) return std::nullopt;
    return IersTable(std::move(rows));
}

std::optional<Dut1Reading> IersTable::dut1At(int utcDay, double utcFraction) const {
    const double whole = std::floor(utcFraction);
    const int day = utcDay + int(whole);
    const double fraction = utcFraction - whole;
    const auto after = std::upper_bound(rows_.begin(), rows_.end(), day,
                                         [](int d, const Row& row) { return d < row.day; });
    if (after == rows_.begin()) return std::nullopt;
    const Row& row = *(after - 1);
    if (row.day != day) return std::nullopt;
    if (after == rows_.end() || after->day != day + 1) {
        if (fraction != 0) return std::nullopt;
        return Dut1Reading{row.dut1, row.predicted};
    }
    double next = after->dut1;
    if (std::fabs(next - row.dut1) > kLeapStepSeconds) next -= std::round(next - row.dut1);
    return Dut1Reading{row.dut1 + (next - row.dut1) * fraction, row.predicted || after->predicted};
}

int IersTable::firstDay() const { return rows_.front().day; }
int IersTable::lastDay() const { return rows_.back().day; }

Dut1Choice Dut1For(const ObserverSite& site, int utcDay, double utcFraction) {
    if (site.iers)
        if (const auto reading = site.iers->dut1At(utcDay, utcFraction))
            return {reading->seconds, reading->predicted ? Dut1Source::IersPredicted : Dut1Source::IersObserved};
    return {site.dut1Seconds, Dut1Source::Stored};
}

}  // namespace nav

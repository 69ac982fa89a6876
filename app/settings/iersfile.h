// The IERS Earth-orientation file the user names in "IERS File" (the finals2000A series IERS publishes):
// read into the site for the precise ephemeris, and the words that say which DUT1 an instant uses.
#pragma once

#include <QString>
#include <memory>

#include "navlib/iers.h"

namespace skyrel {

inline const QString kIersFileKey = QStringLiteral("IERS File");

// LoadIersFile - the UT1 - UTC rows of the named file; none when the name is empty, the file cannot be
// read or holds no row with a UT1 - UTC value.
std::shared_ptr<const nav::IersTable> LoadIersFile(const QString& path);

// Dut1Description - the DUT1 of an instant and where it came from, for the About box:
// "DUT1 -0.0123 s, IERS file PATH, observed" (or predicted), or "DUT1 0.1000 s, stored" with the reason
// the file was not used (none named, not readable, or not covering the date).
//   in:  site (its dut1Seconds and iers), iersFile (the stored name), utcDay and utcFraction
QString Dut1Description(const nav::ObserverSite& site, const QString& iersFile, int utcDay, double utcFraction);

// Dut1SourceKey - "iers-observed", "iers-predicted" or "stored": the machine-readable form.
QString Dut1SourceKey(nav::Dut1Source source);

}  // namespace skyrel

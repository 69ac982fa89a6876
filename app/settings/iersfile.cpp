#include "app/settings/iersfile.h"

#include <QFile>

namespace skyrel {
namespace {

// Tenths of a millisecond: the observed rows' own resolution.
constexpr int kDut1Decimals = 4;

}  // namespace

std::shared_ptr<const nav::IersTable> LoadIersFile(const QString& path) {
    if (path.isEmpty()) return nullptr;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return nullptr;
    const QByteArray bytes = file.readAll();
    const auto table = nav::IersTable::FromFinals2000A(std::string_view(bytes.constData(), bytes.size()));
    if (!table) return nullptr;
    return std::make_shared<const nav::IersTable>(*table);
}

QString Dut1Description(const nav::ObserverSite& site, const QString& iersFile, int utcDay, double utcFraction) {
    const nav::Dut1Choice choice = nav::Dut1For(site, utcDay, utcFraction);
    const QString value = QStringLiteral("DUT1 %1 s, ").arg(choice.seconds, 0, 'f', kDut1Decimals);
    switch (choice.source) {
    case nav::Dut1Source::IersObserved:
        return value + QStringLiteral("IERS file %1, observed").arg(iersFile);
    case nav::Dut1Source::IersPredicted:
        return value + QStringLiteral("IERS file %1, predicted").arg(iersFile);
    case nav::Dut1Source::Stored:
        break;
    }
    if (iersFile.isEmpty()) return value + QStringLiteral("stored (no IERS file named)");
    if (!site.iers) return value + QStringLiteral("stored (IERS file %1 not readable)").arg(iersFile);
    return value + QStringLiteral("stored (IERS file %1 does not cover the date)").arg(iersFile);
}

QString Dut1SourceKey(nav::Dut1Source source) {
    switch (source) {
    case nav::Dut1Source::IersObserved:
        return QStringLiteral("iers-observed");
    case nav::Dut1Source::IersPredicted:
        return QStringLiteral("iers-predicted");
    case nav::Dut1Source::Stored:
        break;
    }
    return QStringLiteral("stored");
}

}  // namespace skyrel

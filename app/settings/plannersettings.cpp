#include "app/settings/plannersettings.h"

#include <QFile>

#include "app/settings/numbertext.h"
#include "app/settings/settings.h"
#include "navlib/commonwindow.h"
#include "navlib/eme.h"
#include "navlib/locator.h"

namespace skyrel {
namespace {

QString DxName(int slot) { return QStringLiteral("DX %1").arg(slot + 1); }
QString TrxName(std::size_t band) { return QStringLiteral("Trx %1").arg(nav::kEmeBandsMHz[band]); }
const QString kMinElevationName = QStringLiteral("Min Elevation");

constexpr NumberRange kMinElevationRange{"the minimum elevation", nav::kLowestMinimumElevationDeg,
                                         nav::kHighestMinimumElevationDeg, "degrees"};
constexpr NumberRange kReceiverKelvinRange{"the receiving-system temperature", kLowestReceiverKelvin,
                                           kHighestReceiverKelvin, "K"};

// A DX line that no longer reads as a station would be offered as one; it drops out of the list, named.
std::optional<QString> ReadDxLine(OptionReader& reader, int slot) {
    const QString line = reader.text(DxName(slot), QString());
    if (line.isEmpty()) return std::nullopt;
    std::string error;
    if (nav::ParseDxEntry(line.toStdString(), error)) return line;
    reader.refuse(DxName(slot), QStringLiteral("%1: %2").arg(QuotedValue(line), QString::fromStdString(error)),
                  QStringLiteral("none"));
    return std::nullopt;
}

QString SizeName(int formNumber, const char* what) {
    return QStringLiteral("Form%1.%2").arg(formNumber).arg(QLatin1String(what));
}

}  // namespace

PlannerSettings ReadPlannerSettings(OptionReader& reader) {
    PlannerSettings s;
    for (int slot = 0; slot < kRecentDxCount; ++slot)
        if (const std::optional<QString> line = ReadDxLine(reader, slot)) s.recentDx.append(*line);
    s.minElevation = reader.real(kMinElevationName, QString::number(s.minElevation), kMinElevationRange);
    for (std::size_t band = 0; band < nav::kBandCount; ++band)
        s.receiverKelvin[band] =
            reader.real(TrxName(band), QString::number(s.receiverKelvin[band]), kReceiverKelvinRange);
    return s;
}

PlannerSettings LoadPlannerSettings(const SettingsStore& store) {
    OptionReader reader(store, kPlannerGroup);
    return ReadPlannerSettings(reader);
}

void SavePlannerSettings(SettingsStore& store, const PlannerSettings& s) {
    for (int slot = 0; slot < kRecentDxCount; ++slot)
        store.write(kPlannerGroup, DxName(slot), slot < s.recentDx.size() ? s.recentDx[slot] : QString());
    store.write(kPlannerGroup, kMinElevationName, QString::number(s.minElevation, 'g', 17));
    for (std::size_t band = 0; band < nav::kBandCount; ++band)
        store.write(kPlannerGroup, TrxName(band), QString::number(s.receiverKelvin[band], 'g', 17));
    store.sync();
}

QStringList WithRecentDx(const QStringList& recent, const QString& entry) {
    QStringList list{entry};
    for (const QString& line : recent)
        if (line != entry && list.size() < kRecentDxCount) list.append(line);
    return list;
}

QSize LoadWindowSize(const SettingsStore& store, int formNumber, QSize fallback) {
    const auto width = ParseInteger(store.read(kPositionsGroup, SizeName(formNumber, "Width")));
    const auto height = ParseInteger(store.read(kPositionsGroup, SizeName(formNumber, "Height")));
    if (!width || !height || *width <= 0 || *height <= 0) return fallback;
    return QSize(*width, *height);
}

void SaveWindowSize(SettingsStore& store, int formNumber, QSize size) {
    store.write(kPositionsGroup, SizeName(formNumber, "Width"), QString::number(size.width()));
    store.write(kPositionsGroup, SizeName(formNumber, "Height"), QString::number(size.height()));
    store.sync();
}

const nav::SkySurvey& ShippedSkySurvey() {
    static const nav::SkySurvey survey = [] {
        QFile file(QStringLiteral(":/tsky408.dat"));
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        const auto parsed = nav::SkySurvey::FromBytes(std::string_view(bytes.constData(), bytes.size()));
        // The survey is built into the program: without it the build itself is broken.
        if (!parsed) {
            qFatal("Skyrel: the built-in sky survey :/tsky408.dat is missing or damaged");
        }
        return *parsed;
    }();
    return survey;
}

}  // namespace skyrel

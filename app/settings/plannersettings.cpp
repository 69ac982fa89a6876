#include "app/settings/plannersettings.h"

#include <QFile>

#include "app/settings/numbertext.h"
#include "navlib/commonwindow.h"
#include "navlib/eme.h"
#include "navlib/locator.h"

namespace skyrel {
namespace {

QString DxName(int slot) { return QStringLiteral("DX %1").arg(slot + 1); }
QString TrxName(std::size_t band) { return QStringLiteral("Trx %1").arg(nav::kEmeBandsMHz[band]); }
const QString kMinElevationName = QStringLiteral("Min Elevation");

std::optional<double> StoredInRange(const SettingsStore& store, const QString& name, double lowest, double highest) {
    const auto value = ParseReal(store.read(kPlannerGroup, name));
    if (!value || *value < lowest || *value > highest) return std::nullopt;
    return value;
}

QString SizeName(int formNumber, const char* what) {
    return QStringLiteral("Form%1.%2").arg(formNumber).arg(QLatin1String(what));
}

}  // namespace

PlannerSettings LoadPlannerSettings(const SettingsStore& store) {
    PlannerSettings s;
    for (int slot = 0; slot < kRecentDxCount; ++slot) {
        const QString line = store.read(kPlannerGroup, DxName(slot));
        std::string error;
        if (!line.isEmpty() && nav::ParseDxEntry(line.toStdString(), error)) s.recentDx.append(line);
    }
    s.minElevation = StoredInRange(store, kMinElevationName, nav::kLowestMinimumElevationDeg,
                                   nav::kHighestMinimumElevationDeg)
                         .value_or(s.minElevation);
    for (std::size_t band = 0; band < nav::kBandCount; ++band)
        s.receiverKelvin[band] = StoredInRange(store, TrxName(band), kLowestReceiverKelvin, kHighestReceiverKelvin)
                                     .value_or(s.receiverKelvin[band]);
    return s;
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

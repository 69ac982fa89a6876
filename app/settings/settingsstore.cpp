#include "app/settings/settingsstore.h"

namespace skyrel {
namespace {
QString KeyOf(const QString& group, const QString& name) { return group + QLatin1Char('/') + name; }
}  // namespace

NativeSettingsStore::NativeSettingsStore()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, kOrganizationName, kApplicationName) {}

NativeSettingsStore::NativeSettingsStore(const QString& fileName) : settings_(fileName, QSettings::NativeFormat) {}

QString NativeSettingsStore::read(const QString& group, const QString& name) const {
    const QVariant value = settings_.value(KeyOf(group, name));
    // The file format reads an unquoted "a,b" typed by hand as a list, which would read as the empty text.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void NativeSettingsStore::write(const QString& group, const QString& name, const QString& value) {
    settings_.setValue(KeyOf(group, name), value);
}

bool NativeSettingsStore::sync() {
    settings_.sync();
    return settings_.status() == QSettings::NoError;
}

QString MemorySettingsStore::read(const QString& group, const QString& name) const {
    return values_.value(KeyOf(group, name));
}

void MemorySettingsStore::write(const QString& group, const QString& name, const QString& value) {
    values_.insert(KeyOf(group, name), value);
    ++writes_;
}

}  // namespace skyrel

// The settings store: named string values under a group. Every value is a string; a missing one reads
// as the empty text. The program uses the native store of the platform; tests use the memory store.
#pragma once

#include <QMap>
#include <QSettings>
#include <QString>

namespace skyrel {

inline const QString kOrganizationName = QStringLiteral("Brenlo Programs");
inline const QString kApplicationName = QStringLiteral("Skyrel");

inline const QString kOptionsGroup = QStringLiteral("Startup");
inline const QString kPositionsGroup = QStringLiteral("Form Positions");
inline const QString kPortsGroup = QStringLiteral("Ports");

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString read(const QString& group, const QString& name) const = 0;
    virtual void write(const QString& group, const QString& name, const QString& value) = 0;
    // Puts every write on permanent storage; false when that failed.
    virtual bool sync() = 0;
    // Where the values are kept, as a message to the user names it.
    virtual QString fileName() const = 0;
};

// QSettings in its native format, organization "Brenlo Programs", application "Skyrel": on Linux the
// file "$XDG_CONFIG_HOME/Brenlo Programs/Skyrel.conf", written through a temporary file and a rename.
// A value typed into the file with an unquoted comma reads back as its parts joined with ", ": a name
// keeps its comma, and a number with a decimal comma fails its conversion as any other bad number.
class NativeSettingsStore : public SettingsStore {
public:
    NativeSettingsStore();
    // The same format in a file the caller names.
    explicit NativeSettingsStore(const QString& fileName);
    QString read(const QString& group, const QString& name) const override;
    void write(const QString& group, const QString& name, const QString& value) override;
    bool sync() override;
    QString fileName() const override { return settings_.fileName(); }

private:
    mutable QSettings settings_;
};

// A store in memory, for tests and for tools that must not touch the user's settings.
class MemorySettingsStore : public SettingsStore {
public:
    QString read(const QString& group, const QString& name) const override;
    void write(const QString& group, const QString& name, const QString& value) override;
    bool sync() override { return true; }
    QString fileName() const override { return QStringLiteral("memory"); }
    int writeCount() const { return writes_; }

private:
    QMap<QString, QString> values_;
    int writes_ = 0;
};

}  // namespace skyrel

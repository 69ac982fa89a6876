#include "app/program/runtimepaths.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace skyrel {

QString RuntimeDirectory() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!QDir(dir).exists()) {
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    return dir;
}

}  // namespace skyrel

#include "app/program/desktopprogram.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace skyrel {
namespace {

const QString kDesktopProgramName = QStringLiteral("skyrel-desktop");

// Beside the running executable (the build tree), then the installed program folder as seen from the
// folder the running program is installed in.
QStringList DesktopProgramFolders() {
    const QDir running = RunningProgramFolder();
    return {running.path(), QDir::cleanPath(running.filePath(QStringLiteral(SKYREL_PROGRAM_DIR_FROM_BIN)))};
}

}  // namespace

QDir RunningProgramFolder() {
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).dir();
}

QString DesktopProgramPath() {
    for (const QString& directory : DesktopProgramFolders()) {
        const QFileInfo candidate(directory + QLatin1Char('/') + kDesktopProgramName);
        if (candidate.isFile() && candidate.isExecutable()) return candidate.filePath();
    }
    return {};
}

QString RunDesktopProgram(char** argv) {
    const QString path = DesktopProgramPath();
    if (path.isEmpty())
        return QStringLiteral("%1 is not installed (looked in %2)")
            .arg(kDesktopProgramName, DesktopProgramFolders().join(QStringLiteral(", ")));
    ::execv(path.toLocal8Bit().constData(), argv);
    return QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
}

}  // namespace skyrel

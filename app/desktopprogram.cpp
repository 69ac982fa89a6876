#include "app/desktopprogram.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace skyrel {
namespace {
const QString kDesktopProgramName = QStringLiteral("skyrel-desktop");
}  // namespace

QString DesktopProgramPath() {
    const QString running = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    for (const QString& directory : {QFileInfo(running).absolutePath(), QStringLiteral(SKYREL_PROGRAM_DIR)}) {
        const QFileInfo candidate(directory + QLatin1Char('/') + kDesktopProgramName);
        if (candidate.isFile() && candidate.isExecutable()) return candidate.filePath();
    }
    return {};
}

QString RunDesktopProgram(char** argv) {
    const QString path = DesktopProgramPath();
    if (path.isEmpty())
        return QStringLiteral("%1 is not installed (looked beside this program and in %2)")
            .arg(kDesktopProgramName, QStringLiteral(SKYREL_PROGRAM_DIR));
    ::execv(path.toLocal8Bit().constData(), argv);
    return QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
}

}  // namespace skyrel

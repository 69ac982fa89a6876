#include "app/rotator/hamlibloader.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <dlfcn.h>

#include "app/program/desktopprogram.h"

namespace skyrel {
namespace {

const QString kModuleName = QStringLiteral(SKYREL_HAMLIB_MODULE_NAME);

// The folders to look in, in order: beside the running executable, the installed module folder as seen
// from each folder an installed program lives in, and last the build tree that made this program, for
// the test and benchmark programs in folders of their own. Never an absolute installed folder: a program
// of the build tree must not load the module of an older installed package.
QStringList ModuleFolders() {
    const QDir running = RunningProgramFolder();
    QStringList folders = {running.path(),
                           QDir::cleanPath(running.filePath(QStringLiteral(SKYREL_MODULE_DIR_FROM_BIN))),
                           QDir::cleanPath(running.filePath(QStringLiteral(SKYREL_MODULE_DIR_FROM_PROGRAMS))),
                           QStringLiteral(SKYREL_HAMLIB_BUILD_DIR)};
    folders.removeDuplicates();
    return folders;
}

}  // namespace

HamlibModuleLoad LoadHamlibModule(const QString& path) {
    const auto failure = [&path](const char* reason) {
        QString text = QString::fromLocal8Bit(reason);
        // The loader's reason often starts with the path again.
        if (text.startsWith(path + QStringLiteral(": "))) text.remove(0, path.size() + 2);
        return HamlibModuleLoad{nullptr, QStringLiteral("cannot load the Hamlib module %1: %2").arg(path, text)};
    };
    // Never closed: the module's library and its rotators live as long as the process.
    void* handle = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return failure(::dlerror());
    const auto entry = reinterpret_cast<HamlibModuleEntry>(::dlsym(handle, kHamlibModuleEntry));
    if (!entry) return failure(::dlerror());
    return {entry(), {}};
}

const HamlibModuleLoad& HamlibModule() {
    static const HamlibModuleLoad module = [] {
        const QStringList folders = ModuleFolders();
        for (const QString& folder : folders) {
            const QString path = folder + QLatin1Char('/') + kModuleName;
            if (QFileInfo(path).isFile()) return LoadHamlibModule(path);
        }
        return HamlibModuleLoad{nullptr, QStringLiteral("cannot load the Hamlib module %1: not found in %2")
                                             .arg(kModuleName, folders.join(QStringLiteral(", ")))};
    }();
    return module;
}

}  // namespace skyrel

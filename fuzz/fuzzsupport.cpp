#include "fuzz/fuzzsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace skyrel::fuzz {

QString PrivateDirectory() {
    static QTemporaryDir root(QDir::tempPath() + QStringLiteral("/skyrel-fuzz-XXXXXX"));
    static const bool isolated = [] {
        const QString config = root.path() + QStringLiteral("/config");
        const QString runtime = root.path() + QStringLiteral("/runtime");
        QDir().mkpath(config);
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
        return true;
    }();
    (void)isolated;
    return root.path();
}

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "skyrel-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* const app = new QCoreApplication(argc, argv);
    (void)app;
}

void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

}  // namespace skyrel::fuzz

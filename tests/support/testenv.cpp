#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace skyrel::test {
namespace {
QTemporaryDir& Root() {
    static QTemporaryDir root(QDir::tempPath() + QStringLiteral("/skyrel-test-XXXXXX"));
    return root;
}
}  // namespace

QString ConfigHome() { return Root().path() + QStringLiteral("/config"); }
QString RuntimeDir() { return Root().path() + QStringLiteral("/runtime"); }

void IsolateProcessEnvironment() {
    QDir().mkpath(ConfigHome());
    QDir().mkpath(RuntimeDir());
    QFile::setPermissions(RuntimeDir(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_CONFIG_HOME", ConfigHome().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", RuntimeDir().toLocal8Bit());
}

}  // namespace skyrel::test

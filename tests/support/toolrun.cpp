#include "tests/support/toolrun.h"

#include <QProcess>
#include <QTest>

namespace skyrel::test {
namespace {
constexpr int kToolWaitMs = 60000;
}

ToolRun RunTool(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    ToolRun run;
    if (!process.waitForStarted(kToolWaitMs) ||
        !QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, kToolWaitMs))
        return run;
    if (process.exitStatus() == QProcess::NormalExit) run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

}  // namespace skyrel::test

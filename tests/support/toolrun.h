// Running one of the project's command-line tools to its end, as a real process.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace skyrel::test {

struct ToolRun {
    int exitCode = -1;  // -1 when the tool did not end normally in time
    QByteArray out, err;
};

// Runs `program` with `args`; this process's event loop keeps running meanwhile, so a server in the test
// process (the local endpoint) still answers the tool.
ToolRun RunTool(const QString& program, const QStringList& args);

}  // namespace skyrel::test

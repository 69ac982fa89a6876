// Reads the expected-figure files of tests/data: one JSON object a line.
#pragma once

#include <QFile>
#include <algorithm>
#include <cmath>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <vector>

namespace skyrel::test {

inline std::vector<QJsonObject> ReadJsonLines(const QString& fileName) {
    QFile file(QStringLiteral(SKYREL_SHARED_DATA_DIR "/") + fileName);
    std::vector<QJsonObject> lines;
    if (!file.open(QIODevice::ReadOnly)) return lines;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (!line.trimmed().isEmpty()) lines.push_back(QJsonDocument::fromJson(line).object());
    return lines;
}

// Agreement to 1e-12 relative (absolute below 1) of two figures computed by the same operations, where
// only the last bits may depend on the order of operations.
inline bool CloseTo(double actual, double expected) {
    const double scale = std::max(std::abs(expected), 1.0);
    return std::abs(actual - expected) <= 1e-12 * scale;
}

}  // namespace skyrel::test

#include "app/numbertext.h"

#include <QLocale>
#include <cmath>

namespace skyrel {

std::optional<double> ParseReal(const QString& text) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<int> ParseInteger(const QString& text) {
    bool ok = false;
    const int value = QLocale::c().toInt(text.trimmed(), &ok);
    if (!ok) return std::nullopt;
    return value;
}

QString InvalidRealMessage(const QString& text) {
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

QString InvalidIntegerMessage(const QString& text) {
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

}  // namespace skyrel

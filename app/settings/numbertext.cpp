#include "app/settings/numbertext.h"

#include <QLocale>
#include <clocale>
#include <cmath>

#include "navlib/printabletext.h"

namespace skyrel {
namespace {

// The C locale, refusing ',' as a group separator: "1,500" typed by a user who writes a decimal comma
// must fail, not read as fifteen hundred.
QLocale StrictC() {
    QLocale locale = QLocale::c();
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    return locale;
}

}  // namespace

std::optional<double> ParseReal(const QString& text) {
    bool ok = false;
    const double value = StrictC().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

void UseCNumbers() {
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
}

std::optional<int> ParseInteger(const QString& text) {
    bool ok = false;
    const int value = StrictC().toInt(text.trimmed(), &ok);
    if (!ok) return std::nullopt;
    return value;
}

QString QuotedValue(const QString& text) { return QString::fromStdString(nav::QuotedText(text.toStdString())); }

QString InvalidRealMessage(const QString& text) {
    return QuotedValue(text) + QStringLiteral(" is not a valid floating point value");
}

QString InvalidIntegerMessage(const QString& text) {
    return QuotedValue(text) + QStringLiteral(" is not a valid integer value");
}

}  // namespace skyrel

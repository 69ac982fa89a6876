// Text <-> number conversions of settings and edit boxes: '.' is the decimal separator whatever the
// user's regional settings, and a text that is not a whole number is refused rather than half read.
#pragma once

#include <QString>
#include <optional>

namespace skyrel {

// A real number: optional blanks around an optional sign, digits with at most one '.', an optional
// exponent. "1.2.3", "-", ".", "abc", "" and non-finite values are refused.
std::optional<double> ParseReal(const QString& text);

// Puts the C library's and Qt's number conversions on '.' for the whole process; called right after the
// application object is made, since that object adopts the user's LC_NUMERIC.
void UseCNumbers();
// A decimal integer with an optional sign and optional blanks around it.
std::optional<int> ParseInteger(const QString& text);

// A refused value as a message names it: between single quotes, a control character written as \xHH, so
// that a value with a line break in it keeps its message one line.
QString QuotedValue(const QString& text);

// The messages shown when a conversion fails.
QString InvalidRealMessage(const QString& text);     // "'%s' is not a valid floating point value"
QString InvalidIntegerMessage(const QString& text);  // "'%s' is not a valid integer value"

}  // namespace skyrel

// The C escapes a shell user writes for bytes a command line cannot carry: \r\n, \t, \0, \x41, \101.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace skyrel {

// The bytes `text` stands for, or nothing with `error` set for an unknown or unfinished escape.
std::optional<QByteArray> Unescape(const QByteArray& text, QString& error);

}  // namespace skyrel

#include "app/endpoint/endpointitem.h"

namespace skyrel {

void EndpointItem::setPointingLine(const QByteArray& line) { lines_ = {line}; }

void EndpointItem::setPokedText(QByteArrayView bytes) {
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0) bytes = bytes.first(zero);
    lines_.clear();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        lines_.append(bytes.sliced(start, i - start).toByteArray());
        i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    if (start < bytes.size()) lines_.append(bytes.sliced(start).toByteArray());
}

QByteArray EndpointItem::textForm() const {
    QByteArray text;
    for (const QByteArray& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

QByteArray EndpointItem::requestPayload() const { return textForm() + '\0'; }

QByteArray EndpointItem::firstLine() const { return lines_.isEmpty() ? QByteArray() : lines_.first(); }

}  // namespace skyrel

// The one data item the local endpoint serves: a list of text lines. The rotator output replaces it by
// the latest pointing line, a client's poke by the poked text; other programs read or subscribe to it.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace skyrel {

class EndpointItem {
public:
    const QList<QByteArray>& lines() const { return lines_; }

    // The value becomes a list of one entry. A pointing line keeps its own CR LF, so its text form ends
    // in CR LF CR LF.
    void setPointingLine(const QByteArray& line);
    // The value becomes the bytes up to the first zero byte, split into lines at CR LF, CR or LF; a
    // break at the very end starts no further line.
    void setPokedText(QByteArrayView bytes);

    // Every line followed by CR LF; empty for an empty value.
    QByteArray textForm() const;
    // What a request returns: the text form and one zero byte.
    QByteArray requestPayload() const;
    // The first line, or empty text when the value has no lines.
    QByteArray firstLine() const;

private:
    QList<QByteArray> lines_;
};

}  // namespace skyrel

// Land outlines from a TopoJSON topology (the format of the world-atlas package of Natural Earth data).
#pragma once

#include <QByteArray>
#include <QList>
#include <QPolygonF>
#include <QString>
#include <optional>

namespace skyrel::assets {

// One closed ring of a land polygon, in degrees: x east longitude, y latitude. Holes (lakes) are rings too,
// so the rings are filled together with the odd-even rule.
using Ring = QPolygonF;

struct LandOutlines {
    QList<Ring> rings;
    QString error;  // empty on success
};

// Decodes every Polygon and MultiPolygon of the named object, undoing the quantisation and the delta
// coding of the arcs and reversing arcs given as negative indices (~i).
LandOutlines DecodeTopoJsonLand(const QByteArray& json, const QString& objectName);

}  // namespace skyrel::assets

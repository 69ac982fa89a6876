#include "topojson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace skyrel::assets {
namespace {

struct ArcTable {
    QList<QPolygonF> arcs;

    // A negative index ~i is arc i walked backwards.
    QPolygonF arc(int index) const {
        if (index >= 0) return arcs.value(index);
        QPolygonF reversed = arcs.value(~index);
        std::reverse(reversed.begin(), reversed.end());
        return reversed;
    }
};

ArcTable DecodeArcs(const QJsonObject& topology) {
    double scaleX = 1, scaleY = 1, translateX = 0, translateY = 0;
    const bool quantised = topology.contains(QStringLiteral("transform"));
    if (quantised) {
        const QJsonObject transform = topology.value(QStringLiteral("transform")).toObject();
        const QJsonArray scale = transform.value(QStringLiteral("scale")).toArray();
        const QJsonArray translate = transform.value(QStringLiteral("translate")).toArray();
        scaleX = scale.at(0).toDouble(1);
        scaleY = scale.at(1).toDouble(1);
        translateX = translate.at(0).toDouble();
        translateY = translate.at(1).toDouble();
    }
    ArcTable table;
    for (const QJsonValue& arcValue : topology.value(QStringLiteral("arcs")).toArray()) {
        QPolygonF arc;
        double x = 0, y = 0;
        for (const QJsonValue& positionValue : arcValue.toArray()) {
            const QJsonArray position = positionValue.toArray();
            if (quantised) {
                // Quantised positions are deltas from the previous position of the same arc.
                x += position.at(0).toDouble();
                y += position.at(1).toDouble();
                arc.append(QPointF(x * scaleX + translateX, y * scaleY + translateY));
            } else {
                arc.append(QPointF(position.at(0).toDouble(), position.at(1).toDouble()));
            }
        }
        table.arcs.append(arc);
    }
    return table;
}

// Consecutive arcs of a ring share their end points; each one after the first starts where the last ended.
Ring JoinArcs(const ArcTable& table, const QJsonArray& arcIndices) {
    Ring ring;
    for (const QJsonValue& index : arcIndices) {
        const QPolygonF arc = table.arc(index.toInt());
        ring.append(ring.isEmpty() ? QList<QPointF>(arc) : arc.mid(1));
    }
    return ring;
}

void CollectRings(const ArcTable& table, const QJsonObject& geometry, QList<Ring>& rings) {
    const QString type = geometry.value(QStringLiteral("type")).toString();
    if (type == QLatin1String("GeometryCollection")) {
        for (const QJsonValue& member : geometry.value(QStringLiteral("geometries")).toArray())
            CollectRings(table, member.toObject(), rings);
        return;
    }
    const QJsonArray arcs = geometry.value(QStringLiteral("arcs")).toArray();
    if (type == QLatin1String("Polygon")) {
        for (const QJsonValue& ring : arcs) rings.append(JoinArcs(table, ring.toArray()));
    } else if (type == QLatin1String("MultiPolygon")) {
        for (const QJsonValue& polygon : arcs)
            for (const QJsonValue& ring : polygon.toArray()) rings.append(JoinArcs(table, ring.toArray()));
    }
}

}  // namespace

LandOutlines DecodeTopoJsonLand(const QByteArray& json, const QString& objectName) {
    LandOutlines outlines;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        outlines.error = QStringLiteral("not valid JSON: ") + parseError.errorString();
        return outlines;
    }
    const QJsonObject topology = document.object();
    if (topology.value(QStringLiteral("type")).toString() != QLatin1String("Topology")) {
        outlines.error = QStringLiteral("not a TopoJSON topology");
        return outlines;
    }
    const QJsonValue object = topology.value(QStringLiteral("objects")).toObject().value(objectName);
    if (!object.isObject()) {
        outlines.error = QStringLiteral("the topology has no object \"%1\"").arg(objectName);
        return outlines;
    }
    CollectRings(DecodeArcs(topology), object.toObject(), outlines.rings);
    return outlines;
}

}  // namespace skyrel::assets

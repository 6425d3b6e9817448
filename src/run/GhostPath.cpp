#include "run/GhostPath.h"

#include <QtEndian>

#include <algorithm>
#include <limits>
#include <utility>

namespace kf {

namespace {

qint16 clampCoordinate(int v) {
    return static_cast<qint16>(
        std::clamp<int>(v, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()));
}

} // namespace

void GhostPath::append(QPoint boardPixel, qint64 msSincePress) {
    const qint64 earliest = m_points.isEmpty() ? 0 : m_points.last().ms;
    const qint64 ms =
        std::clamp<qint64>(msSincePress, earliest, std::numeric_limits<quint32>::max());
    m_points.append({clampCoordinate(boardPixel.x()), clampCoordinate(boardPixel.y()),
                     static_cast<quint32>(ms)});
}

QPointF GhostPath::positionAt(double ms) const {
    if (m_points.isEmpty())
        return {};
    // The first point later than `ms`; the one before it is where the run was.
    const auto next = std::upper_bound(m_points.cbegin(), m_points.cend(), ms,
                                       [](double t, const GhostPoint& p) { return t < p.ms; });
    if (next == m_points.cbegin())
        return {double(next->x), double(next->y)};
    const GhostPoint& a = *(next - 1);
    if (next == m_points.cend())
        return {double(a.x), double(a.y)};
    const double f = (ms - a.ms) / (double(next->ms) - a.ms);
    return {a.x + f * (next->x - a.x), a.y + f * (next->y - a.y)};
}

QByteArray GhostPath::encode() const {
    if (!fitsStore())
        return {};
    QByteArray bytes(kHeaderBytes + kPointBytes * m_points.size(), Qt::Uninitialized);
    uchar* out = reinterpret_cast<uchar*>(bytes.data());
    out[0] = kVersion;
    qToLittleEndian<quint32>(static_cast<quint32>(m_points.size()), out + 1);
    out += kHeaderBytes;
    for (const GhostPoint& p : m_points) {
        qToLittleEndian<qint16>(p.x, out);
        qToLittleEndian<qint16>(p.y, out + 2);
        qToLittleEndian<quint32>(p.ms, out + 4);
        out += kPointBytes;
    }
    return bytes;
}

std::optional<QList<GhostPoint>> GhostPath::decodePoints(const QByteArray& bytes) {
    // A damaged or foreign database or race file may hold any length: a path too long to be a
    // ghost is refused before anything is made for it.
    if (bytes.size() < kHeaderBytes + kPointBytes || bytes.size() > kMaxBytes)
        return std::nullopt;
    const uchar* in = reinterpret_cast<const uchar*>(bytes.constData());
    const quint32 count = qFromLittleEndian<quint32>(in + 1);
    // The count is checked against the length in 64 bits, so no count can wrap around.
    if (in[0] != kVersion || count == 0 ||
        qint64(bytes.size()) != kHeaderBytes + qint64(kPointBytes) * count)
        return std::nullopt;
    QList<GhostPoint> points;
    points.reserve(count);
    in += kHeaderBytes;
    for (quint32 i = 0; i < count; ++i, in += kPointBytes)
        points.append({qFromLittleEndian<qint16>(in), qFromLittleEndian<qint16>(in + 2),
                       qFromLittleEndian<quint32>(in + 4)});
    return points;
}

std::optional<GhostPath> GhostPath::fromPoints(QList<GhostPoint> points) {
    if (points.isEmpty() || points.size() > kMaxPoints)
        return std::nullopt;
    for (qsizetype i = 1; i < points.size(); ++i)
        if (points[i].ms < points[i - 1].ms)
            return std::nullopt;
    GhostPath path;
    path.m_points = std::move(points);
    return path;
}

std::optional<GhostPath> GhostPath::decode(const QByteArray& bytes) {
    std::optional<QList<GhostPoint>> points = decodePoints(bytes);
    if (!points)
        return std::nullopt;
    return fromPoints(std::move(*points));
}

} // namespace kf

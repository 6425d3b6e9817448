#pragma once

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QtGlobal>

#include <optional>

namespace kf {

// One point of a run's path: where the pointer was on the board, in board pixels (the
// picture's own, top-left 0, 0), and when, in whole milliseconds since the press.
struct GhostPoint {
    qint16 x = 0;
    qint16 y = 0;
    quint32 ms = 0;

    friend bool operator==(const GhostPoint&, const GhostPoint&) = default;
};

// The path of a run, kept so that the ghost of the best run can follow it on later runs: the
// press point at 0, one point for each movement the run took, and the release point at the
// run's time. Times never go backwards.
//
// Stored as bytes, all numbers little-endian:
//
//     offset 0      1 byte    version, 1
//     offset 1      4 bytes   count of points, unsigned, at least 1
//     offset 5 + 8i 2 bytes   x of point i, signed
//                   2 bytes   y of point i, signed
//                   4 bytes   ms of point i, unsigned, never less than that of point i - 1
//
// so a path of n points takes exactly 5 + 8n bytes.
//
// A stored path has at most kMaxPoints points, a run of 15 minutes at 1 000 movements a second,
// and so at most kMaxBytes bytes (7 200 005): a longer path is not stored, and longer bytes are
// refused before anything is made of them.
class GhostPath {
public:
    static constexpr quint8 kVersion = 1;
    static constexpr int kHeaderBytes = 5;
    static constexpr int kPointBytes = 8;
    static constexpr qsizetype kMaxPoints = 15 * 60 * 1000;
    static constexpr qsizetype kMaxBytes = kHeaderBytes + kPointBytes * kMaxPoints;

    // Adds a point. A coordinate beyond the stored range is clamped to it, and a time earlier
    // than the last point's (or negative) is taken as the last point's.
    void append(QPoint boardPixel, qint64 msSincePress);
    void clear() { m_points.clear(); }

    bool isEmpty() const { return m_points.isEmpty(); }
    const QList<GhostPoint>& points() const { return m_points; }

    // Where the run was `ms` after its press: the first point before it, the straight line
    // between the two points around that time, and the last point (the finish) after the run's
    // time. Of points with the same time the last counts. The origin for an empty path.
    QPointF positionAt(double ms) const;

    // Whether the path is short enough to be stored: at most kMaxPoints points.
    bool fitsStore() const { return m_points.size() <= kMaxPoints; }
    // The stored bytes; empty for a path that does not fit the store.
    QByteArray encode() const;
    // The path stored in `bytes`; nothing for more than kMaxBytes bytes, bytes of another
    // version, a wrong length, no points or times that go backwards.
    static std::optional<GhostPath> decode(const QByteArray& bytes);
    // The points stored in `bytes` as they stand, their times unchecked, so that a path from
    // elsewhere can be judged point by point; nothing for more than kMaxBytes bytes, bytes of
    // another version, a wrong length or no points.
    static std::optional<QList<GhostPoint>> decodePoints(const QByteArray& bytes);
    // A path of these points; nothing for no points, more than kMaxPoints or times that go
    // backwards.
    static std::optional<GhostPath> fromPoints(QList<GhostPoint> points);

    friend bool operator==(const GhostPath&, const GhostPath&) = default;

private:
    QList<GhostPoint> m_points;
};

} // namespace kf

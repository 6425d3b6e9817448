#include "run/GhostPath.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using namespace kf;

// Pressed at (10, 20), right along x to (30, 20) by 100 ms, a stop there until 150 ms, two
// movements in the same millisecond, and the release at 400 ms.
GhostPath samplePath() {
    GhostPath path;
    path.append({10, 20}, 0);
    path.append({30, 20}, 100);
    path.append({30, 20}, 150);
    path.append({30, 60}, 200);
    path.append({50, 60}, 200);
    path.append({50, 100}, 400);
    return path;
}

// The longest path a ghost keeps: 15 minutes, a movement each millisecond.
GhostPath longestPath() {
    GhostPath path;
    for (qsizetype i = 0; i < GhostPath::kMaxPoints; ++i)
        path.append({10, 20}, i);
    return path;
}

TEST(GhostPathTest, IsWhereTheRunWasAtEachTime) {
    const GhostPath path = samplePath();
    const struct {
        double ms;
        QPointF at;
    } cases[] = {
        {-5, {10, 20}},     // before the press: the press point
        {0, {10, 20}},      // the press
        {25, {15, 20}},     // a quarter of the way to the second point
        {50.5, {20.1, 20}}, // between whole milliseconds too, for a smooth marker
        {100, {30, 20}},    // on a point
        {120, {30, 20}},    // standing still
        {175, {30, 40}},    // half way down
        {200, {50, 60}},    // of two points at one time, the later
        {300, {50, 80}},    // half way to the release
        {400, {50, 100}},   // the release
        {5000, {50, 100}},  // after the run's time: the finish
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ms);
        const QPointF at = path.positionAt(c.ms);
        EXPECT_NEAR(at.x(), c.at.x(), 1e-9);
        EXPECT_NEAR(at.y(), c.at.y(), 1e-9);
    }
}

TEST(GhostPathTest, KeepsTimesInOrderAndCoordinatesInRange) {
    GhostPath path;
    path.append({-40000, 40000}, -3);
    path.append({5, 6}, 70);
    path.append({7, 8}, 60); // a clock that went back: taken as the time before
    const QList<GhostPoint> expected{{-32768, 32767, 0}, {5, 6, 70}, {7, 8, 70}};
    EXPECT_EQ(path.points(), expected);
}

TEST(GhostPathTest, RoundTripsThroughItsDocumentedBytes) {
    GhostPath path;
    path.append({-2, 300}, 0);
    path.append({1000, -1}, 70000);
    const QByteArray bytes = path.encode();
    EXPECT_EQ(bytes.toHex(), "01"
                             "02000000"
                             "feff"
                             "2c01"
                             "00000000"
                             "e803"
                             "ffff"
                             "70110100");
    EXPECT_EQ(GhostPath::decode(bytes), path);
    EXPECT_EQ(GhostPath::decode(samplePath().encode()), samplePath());
}

// The longest path is stored and read back; one point more is not stored.
TEST(GhostPathTest, StoresAtMostTheLongestPath) {
    GhostPath path = longestPath();
    const QByteArray bytes = path.encode();
    EXPECT_EQ(bytes.size(), GhostPath::kMaxBytes);
    EXPECT_EQ(GhostPath::decode(bytes), path);
    path.append({10, 20}, GhostPath::kMaxPoints);
    EXPECT_FALSE(path.fitsStore());
    EXPECT_TRUE(path.encode().isEmpty());
}

// A damaged database must never crash the game nor show a ghost that is not a run.
TEST(GhostPathTest, RefusesBytesThatAreNotAPath) {
    const QByteArray good = samplePath().encode();
    QByteArray newer = good;
    newer[0] = 2;
    QByteArray tooMany = good;
    tooMany[1] = 7;
    QByteArray hugeCount = good;
    hugeCount.replace(1, 4, QByteArray::fromHex("ffffffff"));
    QByteArray backwards = good;
    backwards[5 + 8 * 2 + 4] = 10; // the third point at 10 ms, after one at 100 ms
    // Points at the origin at 0 ms, one more than the longest path has.
    QByteArray beyondTheLongest(GhostPath::kMaxBytes + GhostPath::kPointBytes, '\0');
    beyondTheLongest[0] = GhostPath::kVersion;
    qToLittleEndian<quint32>(GhostPath::kMaxPoints + 1, beyondTheLongest.data() + 1);
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"empty", {}},
        {"header only", good.left(5)},
        {"no points", QByteArray::fromHex("0100000000")},
        {"cut in a point", good.chopped(3)},
        {"trailing bytes", good + "x"},
        {"another version", newer},
        {"count past the end", tooMany},
        {"count that wraps", hugeCount},
        {"time going backwards", backwards},
        {"one point more than the longest path", beyondTheLongest},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GhostPath::decode(c.bytes), std::nullopt);
    }
}

} // namespace

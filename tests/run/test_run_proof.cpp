#include "run/RunProof.h"

#include "support/QtPrinters.h"
#include "support/TinyTrack.h"

#include <gtest/gtest.h>

namespace {

using namespace kf;

TEST(RunProofTest, GivesTheFirstReasonThatApplies) {
    const struct {
        const char* name;
        QList<GhostPoint> points;
        int claimedMs;
        const char* reason; // empty: confirmed
    } cases[] = {
        {"along the top row", {{1, 1, 0}, {2, 1, 10}, {5, 1, 30}, {6, 1, 45}}, 45, ""},
        {"round the wall, down and up", {{1, 2, 0}, {1, 4, 20}, {6, 4, 60}, {6, 2, 80}}, 80, ""},
        {"times back, before the start is looked at",
         {{3, 3, 0}, {2, 1, 20}, {5, 1, 10}, {6, 1, 30}},
         30,
         "times go backwards"},
        {"pressed off the start", {{2, 1, 0}, {6, 1, 30}}, 30, "does not start on the start"},
        {"pressed late", {{1, 1, 5}, {6, 1, 30}}, 30, "does not start on the start"},
        {"into the wall", {{1, 2, 0}, {6, 2, 40}}, 40, "touches a wall at (3, 2) after 40 ms"},
        {"round below, then leftwards into the wall",
         {{1, 1, 0}, {1, 4, 10}, {5, 4, 20}, {5, 3, 22}, {2, 3, 25}, {1, 1, 30}},
         30,
         "touches a wall at (3, 3) after 25 ms"},
        {"a jump off the board and back, over the frame",
         {{1, 1, 0}, {-300, 1, 5}, {6, 1, 9}},
         9,
         "touches a wall at (0, 1) after 5 ms"},
        {"let go short of the finish", {{1, 1, 0}, {5, 1, 30}}, 30, "does not end on the finish"},
        {"claims less than it took",
         {{1, 1, 0}, {6, 1, 45}},
         44,
         "claims 44 ms but its path ends at 45 ms"},
    };
    const QImage track = tinyTrack();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RunProof proof = proveRun(track, c.points, c.claimedMs);
        EXPECT_EQ(proof.confirmed, QString::fromLatin1(c.reason).isEmpty());
        EXPECT_EQ(proof.reason, QString::fromLatin1(c.reason));
    }
}

} // namespace

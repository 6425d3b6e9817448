#include "race/RaceSharing.h"

#include <gtest/gtest.h>

namespace {

using namespace kf;

struct NameCase {
    const char* track;
    const char* player;
    int timeMs;
    const char* offered;
};

class RaceFileNameTable : public ::testing::TestWithParam<NameCase> {};

TEST_P(RaceFileNameTable, TrackPlayerAndTimeInAFileName) {
    const NameCase& c = GetParam();
    RaceGhost ghost;
    ghost.player = racePlayerName(QString::fromUtf8(c.player));
    ghost.timeMs = c.timeMs;
    EXPECT_EQ(raceFileName(QString::fromUtf8(c.track), ghost), QString::fromUtf8(c.offered));
}

INSTANTIATE_TEST_SUITE_P(
    Names, RaceFileNameTable,
    ::testing::Values(NameCase{"Spiral.bmp", "Anna", 12345, "Spiral_Anna_12345ms.kfrace"},
                      NameCase{"TRACK.BMP", "Jörg", 7, "TRACK_Jörg_7ms.kfrace"},
                      NameCase{"a.bmp", "", 1, "a_Player_1ms.kfrace"},
                      NameCase{"x/y.bmp", "A/B\\C:*?\"<>|\t", 3, "x_y_A_B_C_________3ms.kfrace"}));

} // namespace

#include "LevelPack.h"

#include <array>

namespace kf {

namespace {

constexpr std::array<PackTrack, 9> kPack{{
    {"Level_01_CURVES.bmp", drawCurvesTrack},
    {"Level_02_HAIRPINS.bmp", drawHairpinsTrack},
    {"Level_03_SPRINT.bmp", drawSprintTrack},
    {"Level_04_TWINS.bmp", drawTwinsTrack},
    {"Level_05_SPIRAL.bmp", drawSpiralTrack},
    {"Level_06_ZIGZAG.bmp", drawZigzagTrack},
    {"Level_07_MAZE.bmp", drawMazeTrack},
    {"Level_08_NARROWS.bmp", drawNarrowsTrack},
    {"Level_09_GAUNTLET.bmp", drawGauntletTrack},
}};

} // namespace

std::span<const PackTrack> levelPack() {
    return kPack;
}

} // namespace kf

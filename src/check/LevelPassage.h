#pragma once

#include "check/LevelCheck.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QStringList>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kf {

// One starting area as the passage measure sees it.
struct StartPassage {
    QPoint first;   // its first pixel in reading order, as checkLevel names the area
    int widest = 0; // the widest probe with which it reaches a finishing area; 0 when none does
};

// How wide a probe gets through a level: for every width at once, what checkLevel finds for that
// width, from one measure of the picture.
//
// The probe, its moves and what connects a starting area are those of checkLevel. A wider probe
// does not always fare worse: a probe of 4 fits into a round hole where no probe of 3 does, and
// two probes of one parity differ the same way at a few pixels of their rims. So each starting
// area keeps the widths with which it reaches a finish, not one bound, and every answer here is
// exact at every width.
class LevelPassage {
public:
    bool loads = false;  // false for a null or too large picture; then only `refusal` is filled in
    QStringList refusal; // why it does not load, as checkLevel's reasons say it
    QSize size;
    int finishAreas = 0;
    std::vector<StartPassage> starts; // every starting area, in reading order of its first pixel

    // The narrowest passage: the widest probe with which every starting area reaches a finishing
    // area; 0 when not even a probe of 1 gets through, or when the level has no starting or no
    // finishing area.
    int narrowest = 0;
    // Where the route of the starting area that limits `narrowest` is narrowest: the anchor at
    // which a probe of that width first joins that area to a finish (the probe's centre is the
    // anchor's centre for odd widths, its top-left corner for even ones). (-1, -1) when
    // `narrowest` is 0.
    QPoint narrowestPoint{-1, -1};

    // Whether the starting area with that index reaches a finishing area with a probe `width`
    // pixels across.
    bool reaches(std::size_t start, int width) const;

    // The same as checkLevel(picture, corridorWidth) for the measured picture.
    LevelCheckResult verdict(int corridorWidth) const;

    // One step of a starting area's best connection found so far, for one parity of widths: from
    // `level` down to the next step's level, the area reaches a finish with the probes of that
    // parity whose width squared exceeds `key`.
    struct Step {
        std::uint32_t area;
        std::uint16_t level;
        std::uint32_t key;
        std::uint32_t anchor; // pixel index of the anchor that made the connection
    };

private:
    friend LevelPassage measurePassage(QImage picture);

    // Per parity (0 even, 1 odd) the steps, by area, each area's highest level first.
    std::array<std::vector<Step>, 2> m_steps;
    std::array<std::vector<std::uint32_t>, 2> m_firstStep; // per area its first step; one more
    int m_width = 0;                                       // of the picture

    const Step* stepAt(std::size_t start, int width) const;
    void findNarrowest();
};

// Measures a level picture once for every probe width.
//
// With one starting area, or up to eight whose surroundings (each area's bounds grown by half the
// widest probe) add up to at most twice the picture, it takes time in proportion to the pixels
// and keeps about 17 bytes a pixel at its peak, 4 more a pixel with several areas and 4 a pixel
// of those surroundings. With more starting areas, each anchor whose widest probe covers a
// starting pixel looks up the areas under that probe row by row, so the time grows with those
// anchors times their widest probe. The picture is let go once the level map is made, so a
// caller that hands it over (std::move) does not keep it meanwhile.
LevelPassage measurePassage(QImage picture);

} // namespace kf

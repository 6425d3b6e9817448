#include "make/TrackGenerator.h"

#include "check/LevelCheck.h"
#include "check/SteeringIndex.h"
#include "level/ColorCode.h"
#include "make/SplitMix64.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <vector>

namespace kf {

namespace {

constexpr int kFrame = 4;     // the least wall around the maze
constexpr int kNarrowest = 6; // no passage is narrower, so a probe of 4 always gets through
constexpr int kLeastWall = 3; // between two passages side by side
constexpr std::uint32_t kNarrowedOneIn = 5;
// Half a point: how far a track's difficulty may lie from the target, in tenths.
constexpr int kTolerance = 5;
// A width this close to the target ends the search for the width at once.
constexpr int kCloseEnough = 2;
// The cells across (and down) that a try starts with, by difficulty.
constexpr std::array<int, kHardestTrack> kCellsAcross = {3, 4, 5, 6, 6, 7, 8, 9, 10, 12};
constexpr int kFewestCells = 2;
constexpr int kMostCells = 24;

constexpr QRgb kWallRgb = rgbFromColorRef(kWall);
constexpr QRgb kTrackRgb = rgbFromColorRef(kWhite);
constexpr QRgb kStartRgb = rgbFromColorRef(kStart);
constexpr QRgb kFinishRgb = rgbFromColorRef(kFinish);

// The passages of a maze of n x n cells, by cell in reading order.
struct Maze {
    enum Passage : std::uint8_t { Right = 1, Down = 2, NarrowRight = 4, NarrowDown = 8 };
    int across = 0;
    std::vector<std::uint8_t> cells;
    int start = 0;  // on the top row
    int finish = 0; // the farthest from the start along the passages
    int way = 0;    // how many passages lead from the start to the finish
};

// Carved depth first from the start: from the cell on top of the stack a passage leads to one of
// its unvisited neighbours, drawn at random; a cell without such neighbours is left.
Maze carveMaze(int across, SplitMix64& random) {
    Maze maze;
    maze.across = across;
    const int count = across * across;
    maze.cells.assign(static_cast<std::size_t>(count), 0);
    maze.start = static_cast<int>(random.below(static_cast<std::uint32_t>(across)));
    std::vector<bool> visited(maze.cells.size(), false);
    std::vector<int> stack{maze.start};
    visited[static_cast<std::size_t>(maze.start)] = true;
    while (!stack.empty()) {
        const int cell = stack.back();
        const int x = cell % across;
        const int y = cell / across;
        std::array<int, 4> next{};
        std::uint32_t options = 0;
        const auto offer = [&](bool inside, int neighbour) {
            if (inside && !visited[static_cast<std::size_t>(neighbour)])
                next[options++] = neighbour;
        };
        offer(y > 0, cell - across);
        offer(x + 1 < across, cell + 1);
        offer(y + 1 < across, cell + across);
        offer(x > 0, cell - 1);
        if (options == 0) {
            stack.pop_back();
            continue;
        }
        const int to = next[random.below(options)];
        const int low = std::min(cell, to);
        maze.cells[static_cast<std::size_t>(low)] |=
            std::abs(to - cell) == 1 ? Maze::Right : Maze::Down;
        visited[static_cast<std::size_t>(to)] = true;
        stack.push_back(to);
    }
    for (std::uint8_t& cell : maze.cells) {
        if ((cell & Maze::Right) && random.below(kNarrowedOneIn) == 0)
            cell |= Maze::NarrowRight;
        if ((cell & Maze::Down) && random.below(kNarrowedOneIn) == 0)
            cell |= Maze::NarrowDown;
    }

    // Breadth first from the start; the farthest cell, the first in reading order of equals.
    std::vector<int> steps(maze.cells.size(), -1);
    std::vector<int> queue{maze.start};
    steps[static_cast<std::size_t>(maze.start)] = 0;
    for (std::size_t k = 0; k < queue.size(); ++k) {
        const int cell = queue[k];
        const auto open = [&](int neighbour) {
            if (steps[static_cast<std::size_t>(neighbour)] < 0) {
                steps[static_cast<std::size_t>(neighbour)] =
                    steps[static_cast<std::size_t>(cell)] + 1;
                queue.push_back(neighbour);
            }
        };
        const std::uint8_t passages = maze.cells[static_cast<std::size_t>(cell)];
        if (passages & Maze::Right)
            open(cell + 1);
        if (passages & Maze::Down)
            open(cell + across);
        if (cell % across > 0 && (maze.cells[static_cast<std::size_t>(cell - 1)] & Maze::Right))
            open(cell - 1);
        if (cell >= across && (maze.cells[static_cast<std::size_t>(cell - across)] & Maze::Down))
            open(cell - across);
    }
    maze.finish = static_cast<int>(std::max_element(steps.begin(), steps.end()) - steps.begin());
    maze.way = steps[static_cast<std::size_t>(maze.finish)];
    return maze;
}

// Where the cells lie on the picture: `pitch` pixels apart, the first centre at `first`.
struct Grid {
    int pitch;
    int first;

    explicit Grid(int across)
        : pitch((kGeneratedTrackSize - 2 * kFrame) / across),
          first((kGeneratedTrackSize - across * pitch) / 2 + pitch / 2) {}

    int centre(int column) const { return first + column * pitch; }
    // The widest passage that leaves kLeastWall between neighbours, and a quarter of the pitch.
    int widest() const { return std::max(kNarrowest, pitch - std::max(kLeastWall, pitch / 4)); }
};

void fill(QImage& image, int left, int top, int width, int height, QRgb color) {
    for (int y = top; y < top + height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(line + left, line + left + width, color);
    }
}

int narrowed(int width) {
    return std::max(kNarrowest, width * 3 / 5);
}

// The maze with passages `width` pixels across, the narrowed ones narrower.
QImage paintMaze(const Maze& maze, int width) {
    QImage image(kGeneratedTrackSize, kGeneratedTrackSize, QImage::Format_RGB32);
    image.fill(kWallRgb);
    const Grid grid(maze.across);
    const auto square = [&](int cell, QRgb color) {
        fill(image, grid.centre(cell % maze.across) - width / 2,
             grid.centre(cell / maze.across) - width / 2, width, width, color);
    };
    for (int cell = 0; cell < static_cast<int>(maze.cells.size()); ++cell) {
        const int cx = grid.centre(cell % maze.across);
        const int cy = grid.centre(cell / maze.across);
        const std::uint8_t passages = maze.cells[static_cast<std::size_t>(cell)];
        square(cell, kTrackRgb);
        if (passages & Maze::Right) {
            const int across = passages & Maze::NarrowRight ? narrowed(width) : width;
            fill(image, cx, cy - across / 2, grid.pitch, across, kTrackRgb);
        }
        if (passages & Maze::Down) {
            const int across = passages & Maze::NarrowDown ? narrowed(width) : width;
            fill(image, cx - across / 2, cy, across, grid.pitch, kTrackRgb);
        }
    }
    square(maze.start, kStartRgb);
    square(maze.finish, kFinishRgb);
    return image;
}

// One painted and measured track.
struct Candidate {
    QImage picture;
    std::uint64_t steering = 0;
    int tenths = 0;

    int missBy(int target) const { return std::abs(tenths - target); }
};

std::optional<Candidate> measured(QImage picture) {
    const std::optional<std::uint64_t> steering = steeringIndex(LevelMap(picture));
    if (!steering)
        return std::nullopt;
    return Candidate{std::move(picture), *steering, difficultyTenths(*steering)};
}

// The least steering index (fixed point) with that difficulty.
std::uint64_t steeringOf(int tenths) {
    std::uint64_t low = 0;
    std::uint64_t high = kHardestSteering * kSteeringUnit;
    while (low < high) {
        const std::uint64_t middle = low + (high - low) / 2;
        if (difficultyTenths(middle) < tenths)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

// The width of the maze's passages whose track comes closest to the target. A narrower passage
// never makes the track easier, and the index goes about as the inverse of the width: each
// measure bounds the widths left, and the next width scales the last by the index measured
// over the index wanted. The first is guessed from the way's length in pixels.
std::optional<Candidate> closestWidth(const Maze& maze, int target) {
    const Grid grid(maze.across);
    const std::uint64_t wanted = std::max<std::uint64_t>(steeringOf(target), 1);
    const auto scaled = [wanted](std::uint64_t width, std::uint64_t steering) {
        return static_cast<int>(
            std::min<std::uint64_t>((width * steering + wanted / 2) / wanted, kGeneratedTrackSize));
    };
    std::optional<Candidate> best;
    int narrow = kNarrowest;
    int wide = grid.widest();
    int width = scaled(static_cast<std::uint64_t>(maze.way + 1) * grid.pitch, kSteeringUnit);
    while (narrow <= wide) {
        width = std::clamp(width, narrow, wide);
        std::optional<Candidate> tried = measured(paintMaze(maze, width));
        if (!tried)
            return best;
        const int tenths = tried->tenths;
        const std::uint64_t steering = tried->steering;
        if (!best || tried->missBy(target) < best->missBy(target))
            best = std::move(tried);
        if (std::abs(tenths - target) <= kCloseEnough)
            break;
        if (tenths > target)
            narrow = width + 1;
        else
            wide = width - 1;
        width = scaled(static_cast<std::uint64_t>(width), steering);
    }
    return best;
}

} // namespace

std::uint64_t triedSeed(std::uint64_t seed, int attempt) {
    SplitMix64 derived(seed);
    std::uint64_t tried = seed;
    for (int k = 0; k < attempt; ++k)
        tried = derived.next();
    return tried;
}

GeneratedTrack generateTrack(std::uint64_t seed, int difficulty) {
    const int level = std::clamp(difficulty, kGentlestTrack, kHardestTrack);
    const int target = 10 * level;
    int across = kCellsAcross[static_cast<std::size_t>(level - 1)];
    GeneratedTrack closest;
    int tried = 0;
    while (tried < kGeneratorTries) {
        SplitMix64 random(triedSeed(seed, tried++));
        const Maze maze = carveMaze(across, random);
        std::optional<Candidate> found = closestWidth(maze, target);
        if (!found || !checkLevel(found->picture, kDefaultCorridorWidth).playable)
            continue;
        const int miss = found->missBy(target);
        if (closest.picture.isNull() || miss < std::abs(closest.tenths - target))
            closest = {std::move(found->picture), found->steering, found->tenths, 0};
        if (miss <= kTolerance)
            break;
        // Too hard even with the widest passages: fewer cells; too easy with the narrowest: more.
        across = std::clamp(across + (found->tenths > target ? -1 : 1), kFewestCells, kMostCells);
    }
    closest.tries = tried;
    return closest;
}

} // namespace kf

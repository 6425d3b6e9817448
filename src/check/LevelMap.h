#pragma once

#include <QImage>
#include <QRect>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kf {

// What a pixel of a level is, by its exact colour.
enum class Tile : std::uint8_t { Track, Wall, Start, Finish };

// A level picture as the level checker needs it: one byte a pixel, holding the pixel's tile and
// the marks that the checker's passes leave on it. A quarter of the picture at four bytes a
// pixel, so the picture can be let go once the map is made. The passes number pixels in 32 bits,
// so a map is meant for fewer than 2^32 pixels.
class LevelMap {
public:
    // One bit each, beside the tile.
    enum Mark : std::uint8_t {
        Allowed = 1 << 2, // a probe anchored at this pixel covers no wall
        Reached = 1 << 3, // an allowed probe here can move to one that covers a finishing pixel
        Touched = 1 << 4, // some reached probe covers this pixel
        Counted = 1 << 5, // the pixel's area has been counted
    };

    // Any format; colours compared as exact 24-bit values.
    explicit LevelMap(const QImage& picture);

    int width() const { return m_width; }
    int height() const { return m_height; }
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * m_width + x; }

    Tile tile(std::size_t i) const { return static_cast<Tile>(m_cells[i] & kTileBits); }
    Tile tile(int x, int y) const { return tile(index(x, y)); }
    bool has(std::size_t i, Mark mark) const { return (m_cells[i] & mark) != 0; }
    void mark(std::size_t i, Mark mark) { m_cells[i] |= mark; }

    // How many pixels are of that tile.
    std::size_t count(Tile tile) const { return m_counts[static_cast<std::size_t>(tile)]; }

    // The smallest rectangle that holds every pixel of that tile; empty when there is none.
    QRect bounds(Tile tile) const;

private:
    static constexpr std::uint8_t kTileBits = 3;

    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_cells; // row by row
    std::array<std::size_t, 4> m_counts{};
    std::array<int, 4> m_top{};    // first row with a pixel of each tile
    std::array<int, 4> m_bottom{}; // last such row
    std::array<int, 4> m_left{};   // first column with one
    std::array<int, 4> m_right{};  // last such column
};

} // namespace kf

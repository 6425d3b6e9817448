#include "LevelPack.h"
#include "TrackPainter.h"
#include "TrackShapes.h"

namespace kf {

namespace {

constexpr int kWidth = 52;
constexpr int kLanes = 6;
constexpr qreal kFirstLane = 40; // centre line of the leftmost lane
constexpr qreal kPitch = 64;     // lane to lane, so the wall between two lanes is 12 pixels
constexpr qreal kTop = 72;       // where the lanes meet their turns
constexpr qreal kBottom = 328;
constexpr qreal kEnd = 40; // where the first lane begins and the last one ends

qreal laneX(int lane) {
    return kFirstLane + lane * kPitch;
}

} // namespace

QImage drawHairpinsTrack() {
    TrackPainter t(0xFFE4EEF8, 0xFFC2D3E6);
    const qreal r = kPitch / 2;
    QPainterPath centre;
    centre.moveTo(laneX(0), kEnd);
    for (int lane = 0; lane < kLanes; ++lane) {
        const bool down = lane % 2 == 0;
        if (lane == kLanes - 1) {
            centre.lineTo(laneX(lane), kEnd);
            break;
        }
        // Down a lane and round the bottom of the wall, or up and round its top.
        const qreal y = down ? kBottom : kTop;
        centre.lineTo(laneX(lane), y);
        centre.arcTo(circleBounds({laneX(lane) + r, y}, r), 180, down ? 180 : -180);
    }
    t.corridor(centre, kWidth);
    for (int lane = 0; lane < kLanes; ++lane)
        t.arrow({laneX(lane), (kTop + kBottom) / 2}, lane % 2 == 0 ? 90 : -90);

    t.start(QRect(0, 0, 70, 56));
    t.finish(QRect(330, 0, 70, 56));
    return t.picture();
}

} // namespace kf

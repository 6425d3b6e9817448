#include "check/ProbeShape.h"

namespace kf {

std::vector<ProbeSpan> probeSpans(int width) {
    // In half-pixel units the centre of pixel (dx, dy) lies (2dx + c, 2dy + c) from the probe's
    // centre, with c = 1 when that centre is the anchor's corner. The test "closer than width / 2"
    // then needs no fractions: (2dx + c)^2 + (2dy + c)^2 < width^2.
    const long long c = width % 2 == 0 ? 1 : 0;
    const long long limit = static_cast<long long>(width) * width;
    const auto covered = [&](int dx, int dy) {
        const long long u = 2 * dx + c;
        const long long v = 2 * dy + c;
        return u * u + v * v < limit;
    };
    const int first = -(width / 2);
    const int last = (width - 1) / 2;
    std::vector<ProbeSpan> spans;
    for (int dy = first; dy <= last; ++dy) {
        int left = first;
        while (!covered(left, dy))
            ++left;
        spans.push_back({dy, left, static_cast<int>(-left - c)});
    }
    return spans;
}

} // namespace kf

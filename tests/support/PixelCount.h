#pragma once

#include <QImage>

namespace kf::test {

// How many pixels of `image` satisfy `pred(QRgb)`.
template <typename Pred> int countPixels(const QImage& image, Pred pred) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += pred(image.pixel(x, y)) ? 1 : 0;
    return n;
}

} // namespace kf::test

#pragma once

#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QString>

#include <gtest/gtest.h>

namespace kf::test {

// Width in pixels of the columns of `image` that hold a dark pixel: where text was drawn.
inline int inkedWidth(const QImage& image) {
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (qGray(image.pixel(x, y)) < 128) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
        }
    }
    return first < 0 ? 0 : last - first + 1;
}

// Whether a label draws `text` as the characters written rather than as markup: it holds the
// text, and what it draws spans about as wide as those characters in its font. Taken as markup,
// "<hr>" would draw a rule across the label, "&lt;&lt;" two characters and "<b>Ann" a bold
// "Ann", each of another width.
inline ::testing::AssertionResult shownAsWritten(QLabel* label, const QString& text) {
    if (!label)
        return ::testing::AssertionFailure() << "no label";
    if (label->text() != text)
        return ::testing::AssertionFailure() << "holds \"" << label->text().toStdString() << '"';
    const QFontMetrics metrics = label->fontMetrics();
    const int written = metrics.horizontalAdvance(text);
    const int inked = inkedWidth(label->grab().toImage());
    if (inked > written + 2 || inked < written - metrics.averageCharWidth())
        return ::testing::AssertionFailure() << '"' << text.toStdString() << "\" draws " << inked
                                             << " px wide, written it is " << written << " px";
    return ::testing::AssertionSuccess();
}

} // namespace kf::test

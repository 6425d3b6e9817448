#include "board/MainDialog.h"
#include "res/ControlIds.h"
#include "support/PixelCount.h"
#include "support/PlayFolder.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using namespace kf;
using kf::test::countPixels;
using kf::test::PlayFolder;

bool reddish(QRgb c) {
    return qRed(c) > qGreen(c) + 60 && qRed(c) > qBlue(c) + 60;
}

bool greenish(QRgb c) {
    return qGreen(c) > qRed(c) + 60 && qGreen(c) > qBlue(c) + 60;
}

class MainDialogLook : public ::testing::Test {
protected:
    void SetUp() override { dialog.Create(); }
    // Red and green text pixels of the time field as it is painted now.
    std::pair<int, int> timeRedGreen() const {
        const QImage shot = dialog.GetDlgItem(id::main::Time)->grab().toImage();
        return {countPixels(shot, reddish), countPixels(shot, greenish)};
    }

    PlayFolder folder;
    MainDialog dialog;
};

TEST_F(MainDialogLook, TimeIsRedOnlyWhileSlowerThanTheBest) {
    dialog.m_timeMs = 1500;
    dialog.m_bestTimeMs = 1499;
    dialog.UpdateData(false);
    auto [red, green] = timeRedGreen();
    EXPECT_GT(red, 0);
    EXPECT_EQ(green, 0);

    // A new record equals the time: the text stays "1500", yet the same write turns it green.
    dialog.m_bestTimeMs = 1500;
    dialog.UpdateData(false);
    std::tie(red, green) = timeRedGreen();
    EXPECT_EQ(red, 0);
    EXPECT_GT(green, 0);
}

} // namespace

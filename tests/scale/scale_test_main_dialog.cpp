#include "support/ModalAnswerer.h"
#include "support/PixelCount.h"
#include "support/PlayFolder.h"
#include "support/QtPrinters.h"
#include "support/ScaledScreen.h"
#include "toolkit/Controls.h"
#include "toolkit/ImageView.h"
#include "window/MainDialog.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

using namespace kf;
using namespace kf::test;

// The small test level sits at client (11, 10): start x 11..20, finish x 101..110, and a
// one-pixel wall at client x = 61 over the rows y = 10..39.
class ScaledMainDialog : public ::testing::Test {
protected:
    void SetUp() override {
        folder.writeBitmap("Level_00_INTRO.bmp", smallTestLevel());
        folder.writeBitmap("kf_1.gfx", smallTestLevel(30, 20));
        dialog.Create();
        ASSERT_EQ(dialog.devicePixelRatio(), kScale) << "the test runs on an unscaled screen";
    }

    PlayFolder folder;
    ModalAnswerer answers;
    MainDialog dialog;
};

TEST_F(ScaledMainDialog, ARunIsPlayedInPicturePixels) {
    // Positions as a screen at 200 % gives them, in whole and half pixels.
    const QPointF path[] = {
        {20.5, 50.5}, // the right half of the start's last column
        {33.5, 41},   // free track
        {61, 55.5},   // under the wall's lower end
        {87.5, 50},   // free track
        {101, 50.5},  // the finish's first column
    };
    answers.clickOk().pressEscape();
    sendLeftButton(&dialog, QEvent::MouseButtonPress, path[0]);
    // The distance is that of the same moves at 100 %: over the picture pixels they lie in.
    long distance = 0;
    for (size_t k = 1; k < std::size(path); ++k) {
        sendLeftButton(&dialog, QEvent::MouseMove, path[k]);
        const QPoint d = pixelUnder(path[k]) - pixelUnder(path[k - 1]);
        distance += static_cast<long>(std::hypot(d.x(), d.y()));
    }
    sendLeftButton(&dialog, QEvent::MouseButtonRelease, path[4]);

    ASSERT_EQ(answers.texts().size(), 2);
    EXPECT_EQ(answers.texts()[0], QString("YOU FINISHED -> Time : %1 ms").arg(dialog.m_timeMs));
    EXPECT_EQ(dialog.m_distance, distance);
    // A dot marks each point between the start and the finish, one picture pixel each.
    const QImage& board = dialog.m_bmpLevel.shownImage();
    EXPECT_EQ(countPixels(board, [](QRgb c) { return colorRefFromRgb(c) == kTrail; }), 3);
    for (QPointF p : {path[1], path[2], path[3]})
        EXPECT_EQ(dialog.m_bmpLevel.colorAt(pixelUnder(p)), kTrail) << p.x() << "," << p.y();
    EXPECT_EQ(firstBlurredPixel(board, dialog.m_ctlBoard->grab().toImage()), std::nullopt);
}

TEST_F(ScaledMainDialog, AMovementAcrossTheOnePixelWallIsAWallCrash) {
    struct Case {
        QPointF to;
        bool crashes;
    };
    const Case cases[] = {
        {{60.5, 20.5}, false}, // the right half of the last free pixel before the wall
        {{61.5, 20}, true},    // on the wall
        {{80, 20}, true},      // beyond it, both ends free
    };
    for (const Case& c : cases) {
        if (c.crashes)
            answers.clickOk();
        sendLeftButton(&dialog, QEvent::MouseButtonPress, {15, 20});
        sendLeftButton(&dialog, QEvent::MouseMove, {40, 20});
        sendLeftButton(&dialog, QEvent::MouseMove, c.to);
        EXPECT_EQ(dialog.m_run.running(), !c.crashes) << c.to.x();
        EXPECT_EQ(answers.takeTexts(),
                  c.crashes ? QStringList{"YOU FAILED (Wallcrash)"} : QStringList{})
            << c.to.x();
    }
    EXPECT_EQ(answers.unexpected(), 0);
}

TEST_F(ScaledMainDialog, TheBoardShowsEachPicturePixelAsASquare) {
    const QImage& board = dialog.m_bmpLevel.shownImage();
    const QImage shot = dialog.m_ctlBoard->grab().toImage();
    EXPECT_EQ(shot.size(), board.size() * kScale);
    EXPECT_EQ(firstBlurredPixel(board, shot), std::nullopt);
    // A repaint of an odd area, such as a trail mark's, gives the same squares there.
    for (const QRect area : {QRect(3, 5, 7, 3), QRect(49, 20, 3, 1)})
        EXPECT_EQ(
            firstBlurredPixel(pictureInArea(board, area), renderArea(dialog.m_ctlBoard, area)),
            std::nullopt)
            << area.x();
}

TEST_F(ScaledMainDialog, ThePicturesBesideTheBoardShowEachPixelAsASquare) {
    ASSERT_FALSE(dialog.m_ctlLogo->picture().isNull());
    EXPECT_EQ(firstBlurredPixel(dialog.m_ctlLogo->picture().convertToFormat(QImage::Format_RGB32),
                                dialog.m_ctlLogo->grab().toImage()),
              std::nullopt);
}

} // namespace

#include "creator/LevelCreatorDialog.h"
#include "res/ControlIds.h"
#include "support/ModalAnswerer.h"
#include "support/PixelCount.h"
#include "support/PlayFolder.h"
#include "support/QtPrinters.h"
#include "support/ScaledScreen.h"
#include "toolkit/ImageView.h"

#include <QDir>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace kf;
using namespace kf::test;

class ScaledCreator : public ::testing::Test {
protected:
    void SetUp() override {
        creator.Create();
        ASSERT_EQ(creator.devicePixelRatio(), kScale) << "the test runs on an unscaled screen";
    }

    PlayFolder folder;
    ModalAnswerer answers;
    LevelCreatorDialog creator;
};

// Strokes at half pixels through the dialog's mouse handling; the saved file must be the same
// strokes painted on a canvas of its own at the picture pixels under the pointer.
TEST_F(ScaledCreator, ASavedLevelHoldsTheStrokesInPicturePixels) {
    struct Stroke {
        int radioId;
        int tool;
        QPointF from, to;
    };
    const Stroke strokes[] = {
        {id::creator::Walls, kToolWalls, {40.5, 200.5}, {360.5, 203}},
        {id::creator::Start, kToolStart, {40, 100.5}, {80.5, 111}},
        {id::creator::Finish, kToolFinish, {300.5, 300}, {340, 310.5}},
        {id::creator::Eraser, kToolEraser, {200.5, 180}, {200.5, 220.5}},
    };
    LevelCanvas expected = creator.m_canvas; // blank, with its frame
    for (const Stroke& s : strokes) {
        QTest::mouseClick(creator.GetDlgItem(s.radioId), Qt::LeftButton);
        const QPointF middle = (s.from + s.to) / 2;
        sendLeftButton(&creator, QEvent::MouseButtonPress, s.from);
        sendLeftButton(&creator, QEvent::MouseMove, middle);
        sendLeftButton(&creator, QEvent::MouseMove, s.to);
        sendLeftButton(&creator, QEvent::MouseButtonRelease, s.to);
        expected.press(pixelUnder(s.from));
        expected.drag(pixelUnder(middle), s.tool, creator.m_brushSize);
        expected.drag(pixelUnder(s.to), s.tool, creator.m_brushSize);
    }
    const QImage shot = creator.findChild<ImageView*>()->grab().toImage();
    EXPECT_EQ(shot.size(), QSize(400, 400) * kScale);
    EXPECT_EQ(firstBlurredPixel(creator.m_canvas.image(), shot), std::nullopt);

    answers.clickOk();
    QTest::keyClicks(creator.item<QLineEdit>(id::creator::FileName), "crisp");
    QTest::mouseClick(creator.GetDlgItem(id::creator::Save), Qt::LeftButton);
    EXPECT_EQ(answers.texts(),
              QStringList{"Saved as : " + QDir::toNativeSeparators(folder.file("crisp.bmp"))});
    EXPECT_EQ(folder.readBytes("crisp.bmp").size(), 480054);
    const QImage saved =
        QImage(folder.file("crisp.bmp"), "BMP").convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(saved.size(), QSize(400, 400));
    EXPECT_TRUE(saved == expected.image());
    struct Spot {
        QPoint at;
        COLORREF colour;
    };
    for (const Spot& s : {Spot{{100, 201}, kWall}, Spot{{60, 105}, kStart},
                          Spot{{320, 305}, kFinish}, Spot{{200, 201}, kWhite}})
        EXPECT_EQ(colorRefFromRgb(saved.pixel(s.at)), s.colour) << s.at.x() << "," << s.at.y();
    const auto noLevelColour = [](QRgb c) {
        const COLORREF r = colorRefFromRgb(c);
        return r != kWall && r != kStart && r != kFinish && r != kWhite;
    };
    EXPECT_EQ(countPixels(saved, noLevelColour), 0);
}

// A stroke repaints only its rectangle: odd areas of the canvas show the same squares.
TEST_F(ScaledCreator, ARepaintedAreaOfTheCanvasShowsEachPicturePixelAsASquare) {
    sendLeftButton(&creator, QEvent::MouseButtonPress, {100.5, 100});
    sendLeftButton(&creator, QEvent::MouseMove, {141, 107.5});
    auto* view = creator.findChild<ImageView*>();
    for (const QRect area : {QRect(93, 95, 55, 19), QRect(0, 7, 5, 1)})
        EXPECT_EQ(firstBlurredPixel(pictureInArea(creator.m_canvas.image(), area),
                                    renderArea(view, area)),
                  std::nullopt)
            << area.x();
}

} // namespace

#include "res/ControlIds.h"
#include "res/DialogTemplates.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialog.h"

#include "support/PixelCount.h"
#include "support/QtPrinters.h"
#include <QApplication>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace kf;
using kf::test::countPixels;

constexpr QRgb kFace = qRgb(240, 240, 240);

QRgb grey(int v) {
    return qRgb(v, v, v);
}

// Text pixels: the label's dark blue, alone or blended into the grey face.
bool isInk(QRgb c) {
    return qRed(c) < 200 && qBlue(c) > qRed(c);
}

// The owner-drawn Load Level button of the main window, painted as the player sees it.
class FlatButtonLook : public ::testing::Test {
protected:
    void SetUp() override {
        dialog.Create();
        button = dialog.item<QPushButton>(id::main::LoadLevel);
        ASSERT_NE(button, nullptr);
    }
    QImage shot() const { return button->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // A point of the button; negative coordinates count from the right or bottom edge.
    QPoint at(int x, int y) const {
        return {x < 0 ? button->width() + x : x, y < 0 ? button->height() + y : y};
    }

    Dialog dialog{kMainDialogId};
    QPushButton* button = nullptr;
};

struct EdgePixel {
    const char* where;
    int x, y;
    QRgb released, pressed;
};

// Light upper-left and dark lower-right, two pixels deep; reversed while held down.
TEST_F(FlatButtonLook, EdgeIsRaisedAndSunkenWhileHeldDown) {
    const int midX = button->width() / 2, midY = button->height() / 2;
    const EdgePixel pixels[] = {
        {"top outer", midX, 0, grey(227), grey(160)},
        {"top inner", midX, 1, grey(255), grey(105)},
        {"left outer", 0, midY, grey(227), grey(160)},
        {"left inner", 1, midY, grey(255), grey(105)},
        {"bottom outer", midX, -1, grey(105), grey(255)},
        {"bottom inner", midX, -2, grey(160), grey(227)},
        {"right outer", -1, midY, grey(105), grey(255)},
        {"right inner", -2, midY, grey(160), grey(227)},
        {"face", 3, 3, kFace, kFace},
    };
    const QImage released = shot();
    QTest::mousePress(button, Qt::LeftButton);
    ASSERT_TRUE(button->isDown());
    const QImage pressed = shot();
    QTest::mouseRelease(button, Qt::LeftButton);
    // Only the edge changes: the text does not move.
    const QRect inner = button->rect().adjusted(2, 2, -2, -2);
    EXPECT_TRUE(released.copy(inner) == pressed.copy(inner));
    for (const EdgePixel& p : pixels) {
        SCOPED_TRACE(p.where);
        EXPECT_EQ(released.pixel(at(p.x, p.y)), p.released);
        EXPECT_EQ(pressed.pixel(at(p.x, p.y)), p.pressed);
    }
    EXPECT_TRUE(shot() == released);
}

TEST_F(FlatButtonLook, DisabledLooksLikeEnabledAndFocusShowsNothing) {
    QApplication::setActiveWindow(&dialog);
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    const QImage enabled = shot();
    EXPECT_GT(countPixels(enabled, isInk), 0);
    button->setEnabled(false);
    EXPECT_TRUE(shot() == enabled);
}

// A label wider than its button is centred and cut at the button's edges: inside, the button
// shows the same pixels as a wide button around the same centre, and nothing spills outside.
TEST(DrawFlatButton, CutsALongLabelAtTheEdgesAroundItsCentre) {
    const QString label(20, QLatin1Char('M'));
    const QRect narrow(100, 4, 100, 20), wide(0, 4, 300, 20);
    constexpr QRgb kOutside = qRgb(255, 0, 255);
    auto paint = [&](const QRect& rect) {
        QImage image(300, 28, QImage::Format_RGB32);
        image.fill(kOutside);
        QPainter painter(&image);
        DrawFlatButton(painter, rect, false, label);
        return image;
    };
    const QImage cut = paint(narrow);
    const QImage whole = paint(wide);
    ASSERT_GT(countPixels(whole.copy(wide), isInk), countPixels(cut.copy(narrow), isInk));

    EXPECT_EQ(countPixels(cut, [](QRgb c) { return c != kOutside; }),
              narrow.width() * narrow.height());
    const QRect inside = narrow.adjusted(2, 2, -2, -2);
    EXPECT_TRUE(cut.copy(inside) == whole.copy(inside));
    // The text runs over both sides, so it reaches the edges on the left and on the right.
    EXPECT_GT(countPixels(cut.copy(inside.left(), inside.top(), 4, inside.height()), isInk), 0);
    EXPECT_GT(countPixels(cut.copy(inside.right() - 3, inside.top(), 4, inside.height()), isInk),
              0);
}

} // namespace

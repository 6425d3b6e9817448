#include "res/ControlIds.h"
#include "res/DialogTemplates.h"
#include "support/QtPrinters.h"
#include "support/ScaledScreen.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialog.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

using namespace kf;
using namespace kf::test;

// What `w` paints at 100 % over magenta.
QImage renderUnscaled(QWidget* w) {
    QImage shot(w->size(), QImage::Format_RGB32);
    shot.fill(Qt::magenta);
    w->render(&shot);
    return shot;
}

// The multiplayer window's thin border, the black frame around its status and the edges of its
// flat buttons are lines one pixel wide: at 200 % they must show what 100 % shows, each pixel
// a 2 x 2 square, on every side.
TEST(ScaledThinLines, CoverTheirOwnPixelsOnEverySide) {
    Dialog dialog(kMultiplayerDialogId);
    dialog.Create();
    ASSERT_EQ(dialog.devicePixelRatio(), kScale) << "the test runs on an unscaled screen";
    QWidget* frame = nullptr;
    for (StaticControl* s : dialog.findChildren<StaticControl*>()) {
        if (s->isVisibleTo(&dialog) && s->text().isEmpty() && s->picture().isNull())
            frame = s;
    }
    ASSERT_NE(frame, nullptr);
    struct Case {
        const char* what;
        QWidget* w;
        int lines;
    };
    const Case cases[] = {
        {"border", &dialog, 1},
        {"frame", frame, 1},
        {"button", dialog.GetDlgItem(id::multiplayer::StartNow), 2},
    };
    for (const Case& c : cases) {
        QImage unscaled = renderUnscaled(c.w);
        QImage scaled = renderArea(c.w, c.w->rect());
        // Only the lines count: text and pictures inside are drawn finer at 200 %.
        const QRect inside = c.w->rect().adjusted(c.lines, c.lines, -c.lines, -c.lines);
        QPainter(&unscaled).fillRect(inside, Qt::magenta);
        QPainter(&scaled).fillRect(inside, Qt::magenta);
        EXPECT_EQ(firstBlurredPixel(unscaled, scaled), std::nullopt) << c.what;
    }
}

} // namespace

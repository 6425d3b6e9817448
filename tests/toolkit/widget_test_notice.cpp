#include "res/ControlIds.h"
#include "support/ModalAnswerer.h"
#include "toolkit/ContinueDialog.h"

#include "support/QtPrinters.h"
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

using kf::ContinueDialog;
using kf::test::ModalAnswerer;

TEST(Notice, ShowsExactlyItsText) {
    ModalAnswerer answers;
    answers.clickOk();
    ContinueDialog notice;
    notice.ShowMessage("YOU FAILED (Wallcrash)");
    ASSERT_EQ(answers.texts().size(), 1);
    EXPECT_EQ(answers.texts()[0], "YOU FAILED (Wallcrash)");
    EXPECT_EQ(notice.item<QLabel>(kf::id::notice::Text)->alignment() & Qt::AlignHCenter,
              Qt::AlignHCenter);
}

TEST(Notice, ShownTwiceShowsTheSecondTextOnly) {
    ModalAnswerer answers;
    answers.clickOk().pressEnter();
    ContinueDialog notice;
    notice.ShowMessage("first line");
    notice.ShowMessage("second");
    EXPECT_EQ(answers.texts(), QStringList({"first line", "second"}));
    EXPECT_EQ(answers.unexpected(), 0);
}

TEST(Notice, ContinueEnterAndEscapeAllCloseIt) {
    ModalAnswerer answers;
    answers.clickOk().pressEnter().pressEscape();
    ContinueDialog notice;
    for (int i = 0; i < 3; ++i) {
        notice.ShowMessage(QString::number(i));
        EXPECT_FALSE(notice.isVisible());
    }
    EXPECT_TRUE(answers.allAnswered());
    EXPECT_EQ(answers.unexpected(), 0);
}

TEST(Notice, OpensCentredOnThePointer) {
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QPoint pointer = screen->availableGeometry().center() + QPoint(40, -30);
    QCursor::setPos(pointer);
    QPoint centre;
    ModalAnswerer answers;
    answers.then([&](QWidget* d) {
        centre = d->geometry().center();
        d->close();
    });
    ContinueDialog notice;
    notice.ShowMessage("centred");
    EXPECT_LE((centre - pointer).manhattanLength(), 2);
}

} // namespace

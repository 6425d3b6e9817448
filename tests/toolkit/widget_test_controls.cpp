#include "res/ControlIds.h"
#include "res/DialogTemplates.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialog.h"

#include "support/ModalAnswerer.h"
#include "support/QtPrinters.h"
#include "support/ShownAsWritten.h"
#include "toolkit/MessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace kf;

TEST(EditControl, RefusesTypingPastTheLimitButKeepsLongerProgramText) {
    ControlTemplate t;
    t.cls = ControlClass::Edit;
    EditControl edit(t, nullptr);
    edit.setTypingLimit(4);
    QTest::keyClicks(&edit, "abcdef");
    EXPECT_EQ(edit.text(), "abcd");
    edit.setText("a longer name");
    EXPECT_EQ(edit.text(), "a longer name");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "a longer nam");
    QTest::keyClick(&edit, Qt::Key_X);
    EXPECT_EQ(edit.text(), "a longer nam");
}

// Plain labels, pictures and group boxes let the mouse through to the dialog beneath;
// buttons, edits and statics that report clicks keep it.
struct PassThroughCase {
    int dialogId;
    int controlId;
    bool passesThrough;
};

class PassThroughTest : public ::testing::TestWithParam<PassThroughCase> {};

TEST_P(PassThroughTest, MouseInputReachesTheRightWidget) {
    const PassThroughCase c = GetParam();
    Dialog dialog(c.dialogId);
    dialog.Create();
    QWidget* w = dialog.GetDlgItem(c.controlId);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->testAttribute(Qt::WA_TransparentForMouseEvents), c.passesThrough);
    EXPECT_EQ(w->testAttribute(Qt::WA_NoMousePropagation), !c.passesThrough);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, PassThroughTest,
    ::testing::Values(PassThroughCase{kMainDialogId, id::main::Board, true},
                      PassThroughCase{kMainDialogId, id::main::Go, true},
                      PassThroughCase{kMainDialogId, id::main::BestName, true},
                      PassThroughCase{kMainDialogId, id::main::LoadLevel, false},
                      PassThroughCase{kMainDialogId, id::main::Time, false},
                      PassThroughCase{kMainDialogId, id::main::DotStyle, false}));

TEST(Dialog, ControlsSitAtTheirTemplatePixels) {
    Dialog dialog(kMainDialogId);
    dialog.Create();
    EXPECT_EQ(dialog.size(), QSize(596, 419));
    EXPECT_EQ(dialog.GetDlgItem(id::main::LoadLevel)->geometry(), QRect(428, 83, 105, 20));
    EXPECT_EQ(dialog.GetDlgItem(id::main::Redraw)->geometry().left(), 533);
    EXPECT_FALSE(dialog.GetDlgItem(id::main::BestLabel)->isVisible());
    EXPECT_TRUE(dialog.GetDlgItem(id::main::Go)->isVisible());
}

TEST(Dialog, IsWhiteWithBlackText) {
    Dialog dialog(kContinueDialogId);
    dialog.Create();
    const QImage shot = dialog.grab().toImage();
    EXPECT_EQ(shot.pixel(shot.width() / 2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(dialog.palette().color(QPalette::WindowText), QColor(Qt::black));
}

TEST(Dialog, BackgroundTileRepeatsFromTheClientOriginUntilCleared) {
    QImage tile(3, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            tile.setPixel(x, y, qRgb(20 + 60 * x, 20 + 60 * y, 100));
    // The main window's template: no border drawn over the corner.
    Dialog dialog(kMainDialogId);
    dialog.Create();
    const QPoint edit = dialog.GetDlgItem(id::main::Time)->geometry().center();

    dialog.setBackgroundTile(tile);
    QImage shot = dialog.grab().toImage();
    for (const QPoint p : {QPoint(0, 0), QPoint(3, 0), QPoint(4, 5), QPoint(8, 1)})
        EXPECT_EQ(shot.pixel(p), tile.pixel(p.x() % 3, p.y() % 3)) << p.x() << ',' << p.y();
    EXPECT_EQ(shot.pixel(edit), qRgb(255, 255, 255)); // the edit keeps its own white

    dialog.setBackgroundTile(QImage());
    shot = dialog.grab().toImage();
    EXPECT_EQ(shot.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(shot.pixel(4, 5), qRgb(255, 255, 255));
}

// Names come from record files and players; none of them is ever taken as markup.
const QString kMarkupLookalikes[] = {"<hr>", "&lt;&lt;", "<b>Ann", "<i>x"};

TEST(PlainText, StaticsShowEveryTextAsWritten) {
    Dialog dialog(kMainDialogId);
    dialog.Create();
    auto* holder = dialog.item<StaticControl>(id::main::BestName);
    ASSERT_NE(holder, nullptr);
    for (const QString& text : kMarkupLookalikes) {
        holder->setFittedText(text);
        EXPECT_TRUE(kf::test::shownAsWritten(holder, text));
    }
}

TEST(PlainText, MessageBoxesShowEveryTextAsWritten) {
    kf::test::ModalAnswerer answerer;
    for (const QString& text : kMarkupLookalikes) {
        answerer.then([text](QWidget* box) {
            EXPECT_TRUE(kf::test::shownAsWritten(
                box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")), text));
            qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
        });
        MessageBox(nullptr, text);
    }
    EXPECT_TRUE(answerer.allAnswered());
}

TEST(Dialog, ControlsAreRebuiltFromTheTemplateAtEveryOpening) {
    Dialog dialog(kContinueDialogId);
    dialog.Create();
    dialog.item<QPushButton>(id::Ok)->setText("changed");
    dialog.close();
    dialog.Create();
    EXPECT_EQ(dialog.item<QPushButton>(id::Ok)->text(), "Continue");
}

} // namespace

namespace {

// The stand-in font is wider than the templates' own: every one-line label, radio button and
// check box of every dialog must still show its whole text on one line, narrowed no more than
// it must be (one step wider would not fit).
TEST(Dialog, EveryShortLabelShowsItsWholeText) {
    const auto neededOf = [](QWidget* w) {
        if (auto* s = qobject_cast<StaticControl*>(w); s && !s->wordWrap())
            return s->fontMetrics().horizontalAdvance(s->text());
        if (qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w))
            return w->sizeHint().width();
        return 0;
    };
    int narrowed = 0;
    for (const DialogTemplate* t : allDialogTemplates()) {
        Dialog dialog(t->id);
        dialog.Create();
        for (QWidget* w : dialog.findChildren<QWidget*>()) {
            const QString text = w->property("text").toString();
            EXPECT_LE(neededOf(w), w->width()) << t->id << ": " << qPrintable(text);
            const int stretch = w->font().stretch();
            if (neededOf(w) == 0 || stretch == QFont::AnyStretch || stretch >= 100)
                continue;
            ++narrowed;
            QFont wider = w->font();
            wider.setStretch(stretch + 2);
            w->setFont(wider);
            EXPECT_GT(neededOf(w), w->width()) << t->id << ": " << qPrintable(text);
        }
    }
    EXPECT_GT(narrowed, 0);
}

} // namespace

// A field repainted alone after a new text must show on the screen exactly what a full repaint
// of the window shows, whatever its frame and base colour let through from beneath.
TEST(EditControl, ANewTextOnTheScreenMatchesAFullRepaint) {
    struct Case {
        const char* name;
        std::uint32_t styles;
        QColor base;
    } cases[] = {
        {"without a frame", 0, Qt::white},
        {"with a frame", style::Border, Qt::white},
        {"without a frame, see-through", 0, Qt::transparent},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget window;
        window.setFixedSize(120, 40);
        QPalette background = window.palette();
        background.setColor(QPalette::Window, QColor(200, 120, 40));
        window.setPalette(background);
        window.setAutoFillBackground(true);
        ControlTemplate t;
        t.cls = ControlClass::Edit;
        t.styles = c.styles;
        auto* edit = new EditControl(t, &window);
        QPalette base = edit->palette();
        base.setColor(QPalette::Base, c.base);
        edit->setPalette(base);
        edit->setGeometry(10, 8, 100, 24);
        edit->setText("1234");
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QApplication::processEvents();
        edit->setText("98");
        QApplication::processEvents();
        const QImage onScreen = window.screen()
                                    ->grabWindow(window.winId())
                                    .toImage()
                                    .convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(onScreen, window.grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
}

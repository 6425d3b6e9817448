// What an opening of a dialog leaves behind once it has closed: the dialogs open thousands of
// times in a long game, so nothing of an opening may stay but what the next one reuses.

#include "res/ControlIds.h"
#include "res/DialogTemplates.h"
#include "support/ModalAnswerer.h"
#include "toolkit/ContinueDialog.h"
#include "toolkit/Dialog.h"
#include "toolkit/LastingPalette.h"

#include "support/QtPrinters.h"
#include <QAbstractButton>
#include <QApplication>
#include <QHash>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

using namespace kf;
using kf::test::ModalAnswerer;

TEST(Openings, EachOpeningsWindowGoesWhenTheDialogCloses) {
    ModalAnswerer answers;
    QList<QPointer<QWindow>> windows;
    const auto keepWindowAndContinue = [&](QWidget* d) {
        windows.append(d->windowHandle());
        qobject_cast<Dialog*>(d)->item<QAbstractButton>(id::Ok)->click();
    };
    answers.then(keepWindowAndContinue).then(keepWindowAndContinue);
    ContinueDialog notice;
    notice.ShowMessage("first");
    notice.ShowMessage("second");
    ASSERT_EQ(windows.size(), 2);
    EXPECT_EQ(notice.windowHandle(), nullptr);
    for (const QPointer<QWindow>& w : windows)
        EXPECT_TRUE(w.isNull());
    EXPECT_EQ(answers.unexpected(), 0);
}

// Keeps, for every button face and slider the style paints, the cache key of the palette it is
// given: the key under which the style keeps that face in the pixmap cache.
class PaletteKeyStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_PushButton)
            keys.insert(widget, option->palette.cacheKey());
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        if (control == CC_Slider)
            keys.insert(widget, option->palette.cacheKey());
        QProxyStyle::drawComplexControl(control, option, painter, widget);
    }

    mutable QHash<const QWidget*, qint64> keys;
};

class StyleKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous = QApplication::style()->name();
        style = new PaletteKeyStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setStyle(style); // the application takes it over
    }
    void TearDown() override { QApplication::setStyle(QStyleFactory::create(m_previous)); }

    PaletteKeyStyle* style = nullptr;

private:
    QString m_previous;
};

struct StyledControl {
    const char* name;
    int templateId;
    int controlId;
};

// Each opening makes its controls anew; the style must still find the faces of the openings
// before in its cache, so each opening paints them with the palette key of the first.
TEST_F(StyleKeysTest, EveryOpeningPaintsItsControlsWithTheSamePaletteKey) {
    const StyledControl controls[] = {
        {"push button", kContinueDialogId, id::Ok},
        {"multiline button", kPlayerNamesDialogId, id::Ok},
        {"slider", kLevelCreatorDialogId, id::creator::BrushSize},
    };
    for (const StyledControl& c : controls) {
        Dialog dialog(c.templateId);
        QList<qint64> keys;
        for (int opening = 0; opening < 2; ++opening) {
            dialog.Create();
            style->keys.clear();
            dialog.grab();
            const QWidget* control = dialog.GetDlgItem(c.controlId);
            ASSERT_TRUE(style->keys.contains(control)) << c.name;
            keys.append(style->keys.value(control));
            dialog.close();
        }
        EXPECT_EQ(keys[0], keys[1]) << c.name;
    }
}

TEST(LastingPalette, KeepsOneKeyPerColoursAndColourGroup) {
    const auto made = [](QColor button, QPalette::ColorGroup group) {
        QPalette p;
        p.setColor(QPalette::Button, button);
        p.setCurrentColorGroup(group);
        return p;
    };
    const QPalette first = lastingPalette(made(Qt::yellow, QPalette::Active));
    const QPalette again = lastingPalette(made(Qt::yellow, QPalette::Active));
    EXPECT_EQ(again.cacheKey(), first.cacheKey());

    const QPalette otherColour = lastingPalette(made(Qt::cyan, QPalette::Active));
    EXPECT_EQ(otherColour.color(QPalette::Button), QColor(Qt::cyan));
    EXPECT_NE(otherColour.cacheKey(), first.cacheKey());

    const QPalette disabled = lastingPalette(made(Qt::yellow, QPalette::Disabled));
    EXPECT_EQ(disabled.currentColorGroup(), QPalette::Disabled);
}

} // namespace

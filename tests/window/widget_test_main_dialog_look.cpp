#include "res/ControlIds.h"
#include "support/ModalAnswerer.h"
#include "support/PixelCount.h"
#include "support/PlayFolder.h"
#include "window/MainDialog.h"

#include "support/QtPrinters.h"
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace kf;
using kf::test::countPixels;
using kf::test::ModalAnswerer;
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
    ModalAnswerer answers;
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

TEST_F(MainDialogLook, LogoClickNamesTheProgramAndItsAuthors) {
    QString caption;
    answers.then([&caption](QWidget* box) {
        caption = box->windowTitle();
        auto* message = qobject_cast<QMessageBox*>(box);
        ASSERT_NE(message, nullptr);
        ASSERT_NE(message->button(QMessageBox::Ok), nullptr);
        message->button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(dialog.GetDlgItem(id::main::Logo), Qt::LeftButton);
    EXPECT_EQ(answers.texts(), QStringList{"by the Kurvenflitzerl team, 2026"});
    EXPECT_EQ(caption, "Kurvenflitzerl 1.0 - by the Kurvenflitzerl team, 2026");
    EXPECT_EQ(answers.unexpected(), 0);
}

} // namespace

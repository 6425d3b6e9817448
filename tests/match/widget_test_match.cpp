#include "match/MultiplayerDialog.h"
#include "res/ControlIds.h"
#include "res/DialogTemplates.h"
#include "res/DialogUnits.h"
#include "res/Pictures.h"
#include "support/ModalAnswerer.h"
#include "support/PlayFolder.h"
#include "support/PointerEvents.h"
#include "support/QtPrinters.h"
#include "support/ShownAsWritten.h"
#include "toolkit/Controls.h"
#include "toolkit/FileDialog.h"
#include "window/MainDialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace kf;
using kf::test::ModalAnswerer;
using kf::test::PlayFolder;
using kf::test::smallTestLevel;

constexpr int kPlayerFlags[] = {id::multiplayer::PlayerFlag1, id::multiplayer::PlayerFlag2,
                                id::multiplayer::PlayerFlag3, id::multiplayer::PlayerFlag4,
                                id::multiplayer::PlayerFlag5};
constexpr int kRoundFlags[] = {id::multiplayer::RoundFlag1, id::multiplayer::RoundFlag2,
                               id::multiplayer::RoundFlag3, id::multiplayer::RoundFlag4,
                               id::multiplayer::RoundFlag5};
constexpr int kNameEdits[] = {id::names::Name1, id::names::Name2, id::names::Name3,
                              id::names::Name4, id::names::Name5};

bool showsO(const Dialog& d, int flagId) {
    return d.item<StaticControl>(flagId)->picture() == resourcePicture(204);
}

void clickFlag(Dialog& d, int flagId) {
    QTest::mouseClick(d.GetDlgItem(flagId), Qt::LeftButton, {}, QPoint(5, 5));
}

QString labelText(const Dialog& d, int id) {
    return d.item<QLabel>(id)->text();
}

// The scoreboard as shown: one "name|points|time" line per row.
QStringList scoreboardRows(const Dialog& d) {
    QStringList rows;
    for (int k = 0; k < kMaxPlayers; ++k) {
        rows << labelText(d, id::scoreboard::Name1 + k) + '|' +
                    labelText(d, id::scoreboard::Points1 + k) + '|' +
                    labelText(d, id::scoreboard::Time1 + k);
    }
    return rows;
}

// ---- The set-up dialog on its own, with the defaults of program start.

class SetupTest : public ::testing::Test {
protected:
    void SetUp() override { setup.setDefaults(); }

    PlayFolder folder;
    ModalAnswerer answers;
    MultiplayerDialog setup;
};

TEST_F(SetupTest, FirstOpeningShowsNoSelectionAndTheHowToTexts) {
    setup.Create();
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(showsO(setup, kPlayerFlags[i])) << i;
        EXPECT_FALSE(showsO(setup, kRoundFlags[i])) << i;
    }
    EXPECT_TRUE(showsO(setup, id::multiplayer::PlayerFlag5));
    EXPECT_TRUE(showsO(setup, id::multiplayer::RoundFlag5));
    EXPECT_EQ(labelText(setup, id::multiplayer::PlayersText), "  change X to O to add Players.");
    EXPECT_EQ(labelText(setup, id::multiplayer::RoundsText), "  change X to O to select rounds");
    // The first flag of each row lies over the end of its row's label and stays visible.
    for (int flag : {kPlayerFlags[0], kRoundFlags[0]}) {
        const QWidget* w = setup.GetDlgItem(flag);
        EXPECT_EQ(setup.childAt(w->geometry().topLeft() + QPoint(1, 1)), w) << flag;
    }
}

struct FlagCase {
    const char* name;
    std::vector<int> clicks; // flag ids in click order
    int players;
    int rounds;
    QString playersText;
    QString roundsText;
};

TEST_F(SetupTest, FlagsCountPlayersAndRounds) {
    const FlagCase cases[] = {
        {"a player flag twice",
         {kPlayerFlags[0], kPlayerFlags[0]},
         1,
         1,
         "Players registered :1",
         "Rounds per Level and Player : 1"},
        {"only the third player flag",
         {kPlayerFlags[2]},
         2,
         1,
         "Players registered :2",
         "Rounds per Level and Player : 1"},
        {"every flag",
         {kPlayerFlags[0], kPlayerFlags[1], kPlayerFlags[2], kPlayerFlags[3], kRoundFlags[0],
          kRoundFlags[1], kRoundFlags[2], kRoundFlags[3]},
         5,
         5,
         "Players registered :5",
         "Rounds per Level and Player : 5"},
        {"the fifth flags are inert",
         {id::multiplayer::PlayerFlag5, id::multiplayer::RoundFlag5},
         1,
         1,
         "  change X to O to add Players.",
         "  change X to O to select rounds"},
    };
    for (const FlagCase& c : cases) {
        setup.setDefaults();
        setup.Create();
        for (int flag : c.clicks)
            clickFlag(setup, flag);
        EXPECT_EQ(setup.m_setup.playerCount(), c.players) << c.name;
        EXPECT_EQ(setup.m_setup.roundCount(), c.rounds) << c.name;
        EXPECT_EQ(labelText(setup, id::multiplayer::PlayersText), c.playersText) << c.name;
        EXPECT_EQ(labelText(setup, id::multiplayer::RoundsText), c.roundsText) << c.name;
        EXPECT_TRUE(showsO(setup, id::multiplayer::PlayerFlag5)) << c.name;
        const auto* rounds = setup.item<QLabel>(id::multiplayer::RoundsText);
        EXPECT_LE(rounds->fontMetrics().horizontalAdvance(rounds->text()), rounds->width())
            << c.name;
        setup.EndDialog(id::Cancel);
    }
}

TEST_F(SetupTest, OnlyTheThirdPlayerFlagSeatsTheFirstTwoNames) {
    answers.then([](QWidget* d) {
        clickFlag(*qobject_cast<Dialog*>(d), kPlayerFlags[2]);
        qobject_cast<Dialog*>(d)->item<QPushButton>(id::multiplayer::StartNow)->click();
    });
    answers.pressEnter();
    setup.DoModal();
    ASSERT_TRUE(setup.m_match.m_active);
    EXPECT_EQ(setup.m_match.m_players[0].m_name, "Player 1");
    EXPECT_EQ(setup.m_match.m_players[1].m_name, "Player 2");
    EXPECT_EQ(answers.unexpected(), 0);
}

TEST_F(SetupTest, CancelAndEscapeStartNothingButKeepTheFlags) {
    answers.then([](QWidget* d) {
        clickFlag(*qobject_cast<Dialog*>(d), kPlayerFlags[1]);
        qobject_cast<Dialog*>(d)->item<QPushButton>(id::multiplayer::CancelSetup)->click();
    });
    answers.then([](QWidget* d) {
        clickFlag(*qobject_cast<Dialog*>(d), kRoundFlags[3]);
        QTest::keyClick(d, Qt::Key_Escape);
    });
    setup.DoModal();
    setup.DoModal();
    EXPECT_FALSE(setup.m_match.m_active);
    EXPECT_EQ(setup.m_setup.playerCount(), 2);
    EXPECT_EQ(setup.m_setup.roundCount(), 2);

    // The next opening shows them again, with the last texts.
    setup.Create();
    EXPECT_TRUE(showsO(setup, kPlayerFlags[1]));
    EXPECT_TRUE(showsO(setup, kRoundFlags[3]));
    EXPECT_FALSE(showsO(setup, kPlayerFlags[0]));
    EXPECT_EQ(labelText(setup, id::multiplayer::RoundsText), "Rounds per Level and Player : 2");
}

// ---- The match's small dialogs.

TEST_F(SetupTest, NamesDialogEnablesTheEditsOfThePlayersAndStandsBelowItsOwner) {
    PlayerNamesDialog& names = setup.m_namesDlg;
    names.m_names[3] = "Dora";
    answers.then([this, &names](QWidget* d) {
        auto* dialog = qobject_cast<Dialog*>(d);
        for (int i = 0; i < kMaxPlayers; ++i) {
            auto* edit = dialog->item<QLineEdit>(kNameEdits[i]);
            EXPECT_EQ(edit->isEnabled(), i < 3) << i;
            EXPECT_EQ(edit->text(), names.m_names[i]) << i;
        }
        EXPECT_TRUE(dialog->GetDlgItem(kNameEdits[0])->hasFocus());
        // Typing stops at nine characters.
        QTest::keyClicks(dialog->GetDlgItem(kNameEdits[0]), "Alexandrina");
        EXPECT_EQ(dialog->item<QLineEdit>(kNameEdits[0])->text(), "Alexandri");
        // Placed 30 dialog units below the client origin of the set-up dialog.
        const int y = duToPixelsY(30, baseUnitsForFont(10));
        EXPECT_EQ(d->pos(), setup.mapToGlobal(QPoint(0, y)));
        QTest::keyClick(d, Qt::Key_Escape);
    });
    answers.pressEnter();
    answers.then([](QWidget* d) {
        QTest::keyClicks(qobject_cast<Dialog*>(d)->GetDlgItem(kNameEdits[1]), "x");
        QTest::keyClick(d, Qt::Key_Return);
    });
    setup.Create();
    setup.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&setup));
    names.m_playerCount = 3;
    names.DoModal();
    EXPECT_EQ(names.m_names[0], "Player 1"); // Escape kept the names
    EXPECT_EQ(names.m_names[3], "Dora");

    names.m_playerCount = 2;
    names.DoModal(); // Enter takes them unchanged
    names.DoModal();
    EXPECT_EQ(names.m_names[1], "Player 2x");
    EXPECT_EQ(answers.unexpected(), 0);
}

TEST_F(SetupTest, ScoreboardShowsItsRowsOnTheTiledPicture) {
    ScoreboardDialog& board = setup.m_scoreboardDlg;
    board.m_rowName[1] = "Bob";
    board.m_rowPoints[1] = "3";
    board.m_rowTime[1] = "FAILED";
    board.Create();
    EXPECT_EQ(scoreboardRows(board), (QStringList{"||", "Bob|3|FAILED", "||", "||", "||"}));
    const QImage plain = board.grab().toImage();
    EXPECT_EQ(plain.pixel(1, 1), qRgb(255, 255, 255));

    // A dark tile shows between the statics; each static stays a white box with black text.
    QImage tile(2, 2, QImage::Format_RGB32);
    tile.fill(qRgb(40, 10, 10));
    folder.writeBitmap("kf_3.gfx", tile);
    board.m_rowName[1] = "<b>Ann";
    board.Create();
    const QImage shot = board.grab().toImage();
    EXPECT_EQ(shot.pixel(1, 1), qRgb(40, 10, 10));
    for (auto* label : board.findChildren<StaticControl*>()) {
        if (!label->isVisible())
            continue;
        const QRect r = label->geometry();
        int white = 0;
        int dark = 0;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                const QRgb p = shot.pixel(x, y);
                white += p == qRgb(255, 255, 255);
                dark += p == qRgb(40, 10, 10);
            }
        }
        EXPECT_EQ(dark, 0) << qPrintable(label->text());
        EXPECT_GT(white, r.width() * r.height() / 2) << qPrintable(label->text());
    }
    EXPECT_TRUE(kf::test::shownAsWritten(board.item<QLabel>(id::scoreboard::Name2), "<b>Ann"));
}

TEST_F(SetupTest, NextPlayerBoxShowsExactlyItsText) {
    answers.clickOk();
    setup.m_nextPlayerDlg.ShowMessage("Bob is up. Get ready and go.");
    EXPECT_EQ(answers.texts(), QStringList{"Bob is up. Get ready and go."});
}

// ---- A whole match in the main window.

class MatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.writeBitmap("Level_00_INTRO.bmp", smallTestLevel());
        second = folder.writeBitmap("second.bmp", smallTestLevel(100, 70));
        dialog = std::make_unique<MainDialog>();
        dialog->Create();
    }
    void TearDown() override { setFileOpenChooser(nullptr); }

    void finishRun() {
        QTest::mousePress(dialog.get(), Qt::LeftButton, {}, {15, 50});
        move({60, 50});
        move({105, 50});
        QTest::mouseRelease(dialog.get(), Qt::LeftButton, {}, {105, 50});
    }
    void crashRun() {
        QTest::mousePress(dialog.get(), Qt::LeftButton, {}, {15, 20});
        move({80, 20});
    }
    void move(QPoint p) { test::movePointer(dialog.get(), p); }
    QPushButton* button(int id) const { return dialog->item<QPushButton>(id); }
    // The three level and mode buttons: their texts, and whether they react.
    QString modeButtons() const {
        QStringList parts;
        for (int id : {id::main::LoadLevel, id::main::Multiplayer, id::main::CreateLevel})
            parts << button(id)->text() + (button(id)->isEnabled() ? "" : " (off)");
        return parts.join(", ");
    }
    // Answers the scoreboard by noting its rows.
    void expectScoreboard(QStringList rows) {
        answers.then([rows](QWidget* d) {
            EXPECT_EQ(scoreboardRows(*qobject_cast<Dialog*>(d)), rows);
            QTest::keyClick(d, Qt::Key_Return);
        });
    }

    PlayFolder folder;
    QString second;
    ModalAnswerer answers;
    std::unique_ptr<MainDialog> dialog;
};

constexpr char kUnlocked[] = "Load Level, Quit Multiplayer, Create Level";
constexpr char kLocked[] = "--XX-- (off), --XX-- (off), --XX-- (off)";

TEST_F(MatchTest, TwoPlayersTwoRoundsTwoLevels) {
    // Set-up: a second player and a second round, then the names.
    answers.then([](QWidget* d) {
        auto* setup = qobject_cast<Dialog*>(d);
        clickFlag(*setup, kPlayerFlags[0]);
        clickFlag(*setup, kRoundFlags[0]);
        setup->item<QPushButton>(id::multiplayer::StartNow)->click();
    });
    answers.then([](QWidget* d) {
        auto* names = qobject_cast<Dialog*>(d);
        names->item<QLineEdit>(kNameEdits[0])->setText("Ann");
        names->item<QLineEdit>(kNameEdits[1])->setText("Bob");
        QTest::keyClick(d, Qt::Key_Return);
    });
    answers.clickOk();
    button(id::main::Multiplayer)->click();
    ASSERT_TRUE(dialog->m_multiplayer.m_match.m_active);
    EXPECT_EQ(answers.takeTexts().last(), "Next Round: Ann , choose Level and begin");
    EXPECT_EQ(dialog->windowTitle(), "Kurvenflitz.exe -> Multiplayer Mode -> Ann");
    EXPECT_EQ(modeButtons(), kUnlocked);

    const QString runEnd = "Kurvenflitzerl.exe -> Multiplayer Mode -> ";
    const int titleTick = dialog->m_titleTick;

    // Level one. Ann finishes (a track record: the name offered is hers; she drops it), then
    // fails; Bob fails twice.
    answers.then([](QWidget* d) {
        EXPECT_EQ(qobject_cast<Dialog*>(d)->item<QLineEdit>(id::newRecord::Name)->text(), "Ann");
        QTest::keyClick(d, Qt::Key_Escape);
    });
    answers.clickOk();
    finishRun();
    const int ann1 = dialog->m_timeMs;
    QStringList texts = answers.takeTexts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_TRUE(texts[0].contains("YOU MADE A NEW RECORD"));
    EXPECT_EQ(texts[1], QString("Good Run : %1. Your Best was : %1").arg(ann1));
    EXPECT_EQ(dialog->windowTitle(), runEnd + "Ann");
    EXPECT_EQ(modeButtons(), kLocked);

    // While the result of her last run on the level is open, the caption still blinks Ann.
    answers.then([this](QWidget* d) {
        dialog->m_mpTitleTick = 0;
        dialog->OnTimer();
        EXPECT_EQ(dialog->windowTitle(), "Kurvenflitz.exe -> Multiplayer Mode -> Ann");
        qobject_cast<Dialog*>(d)->item<QPushButton>(id::Ok)->click();
    });
    answers.clickOk();
    crashRun();
    EXPECT_EQ(answers.takeTexts(),
              (QStringList{QString("INVALID RUN. Your Best was : %1").arg(ann1),
                           "Bob is up. Get ready and go."}));
    EXPECT_EQ(dialog->windowTitle(), runEnd + "Bob");
    EXPECT_EQ(modeButtons(), kLocked);

    // The caption blinks Bob's name; the title animation waits.
    dialog->m_mpTitleTick = 0;
    dialog->OnTimer();
    EXPECT_EQ(dialog->windowTitle(), "Kurvenflitz.exe -> Multiplayer Mode -> Bob");
    EXPECT_EQ(dialog->m_titleTick, titleTick);

    answers.clickOk();
    crashRun();
    answers.clickOk();
    expectScoreboard({QString("Ann|1|%1").arg(ann1), "Bob|0|FAILED", "||", "||", "||"});
    answers.clickOk();
    crashRun();
    texts = answers.takeTexts();
    ASSERT_EQ(texts.size(), 4); // two results, the scoreboard, the next round
    EXPECT_EQ(texts.mid(0, 2), (QStringList{"INVALID RUN. Your Best was : 99999",
                                            "INVALID RUN. Your Best was : 99999"}));
    EXPECT_EQ(texts[3], "Next Round: Ann , choose Level and begin");
    EXPECT_EQ(dialog->windowTitle(), runEnd + "Ann");
    EXPECT_EQ(modeButtons(), kUnlocked);

    // Level two, chosen with Load Level. Ann fails twice; Bob finishes (and keeps the record
    // under his name), then fails.
    setFileOpenChooser([this](QWidget*, const FileOpenRequest&) { return second; });
    button(id::main::LoadLevel)->click();
    EXPECT_EQ(dialog->m_levelPath, second);
    answers.clickOk();
    crashRun();
    answers.clickOk().clickOk();
    crashRun();
    EXPECT_EQ(answers.takeTexts().last(), "Bob is up. Get ready and go.");
    answers.pressEnter().clickOk();
    finishRun();
    const int bob2 = dialog->m_timeMs;
    texts = answers.takeTexts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[1], QString("Good Run : %1. Your Best was : %1").arg(bob2));
    EXPECT_EQ(dialog->m_bestName, "Bob");
    EXPECT_EQ(folder.readBytes("second.bmp.kfh"), "Bob\r\n" + QByteArray::number(bob2));
    answers.clickOk();
    expectScoreboard({"Ann|1|FAILED", QString("Bob|1|%1").arg(bob2), "||", "||", "||"});
    answers.clickOk();
    crashRun();
    texts = answers.takeTexts();
    ASSERT_GE(texts.size(), 3);
    EXPECT_EQ(texts.first(), QString("INVALID RUN. Your Best was : %1").arg(bob2));
    EXPECT_EQ(texts.last(), "Next Round: Ann , choose Level and begin");
    EXPECT_EQ(modeButtons(), kUnlocked);

    // Quitting shows the last level's scoreboard and goes back to standard mode.
    expectScoreboard({"Ann|1|FAILED", QString("Bob|1|%1").arg(bob2), "||", "||", "||"});
    button(id::main::Multiplayer)->click();
    EXPECT_FALSE(dialog->m_multiplayer.m_match.m_active);
    EXPECT_EQ(dialog->windowTitle(), "Kurvenflitzer.exe -> Standard Mode");
    EXPECT_EQ(modeButtons(), "Load Level, Start Multiplayer, Create Level");
    EXPECT_EQ(answers.unexpected(), 0);
}

TEST_F(MatchTest, EscapeInTheNamesDialogStillStartsAndOldRowsAreCleared) {
    MultiplayerDialog& match = dialog->m_multiplayer;
    match.m_scoreboardDlg.m_rowName[3] = "Old";
    answers.then([](QWidget* d) {
        qobject_cast<Dialog*>(d)->item<QPushButton>(id::multiplayer::StartNow)->click();
    });
    answers.pressEscape().clickOk();
    button(id::main::Multiplayer)->click();
    EXPECT_TRUE(match.m_match.m_active);
    EXPECT_EQ(match.m_match.m_players[0].m_name, "Player 1");
    EXPECT_EQ(match.m_scoreboardDlg.m_rowName[3], "");

    // One player, one round: every run completes the level.
    answers.clickOk();
    expectScoreboard({"Player 1|0|FAILED", "||", "||", "||", "||"});
    answers.clickOk();
    crashRun();
    EXPECT_EQ(modeButtons(), kUnlocked);
    EXPECT_EQ(answers.unexpected(), 0);
}

} // namespace

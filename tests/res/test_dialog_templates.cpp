#include "ResourcePictures.h"
#include "res/ControlIds.h"
#include "res/DialogTemplates.h"
#include "res/DialogUnits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <stdexcept>
#include <string>

namespace {

using namespace kf;
using namespace kf::style;

constexpr auto S = ControlClass::Static;
constexpr auto B = ControlClass::Button;
constexpr auto E = ControlClass::Edit;
constexpr auto T = ControlClass::Trackbar;

// One row of a dialog table, in template order. Controls without an id are told apart by their
// text and position.
struct Row {
    int dialog;
    int id;
    ControlClass cls;
    const char* text;
    int picture;
    int x, y, w, h;
    std::uint32_t styles;
};

constexpr std::uint32_t kOwnerFlat = BsOwnerDraw | BsFlat | TabStop;
constexpr std::uint32_t kNameEdit = EsCenter | EsAutoHScroll | Border | TabStop | ExDlgModalFrame;
constexpr std::uint32_t kNameCell = SsCenter | SsCenterImage | Group;

// clang-format off
const Row kRows[] = {
    {102, id::main::Logo, S, "IDB_BITMAP15", 0, 274, 0, 15, 13, SsBitmap | SsNotify},
    {102, id::main::LoadLevel, B, "Load Level", 0, 285, 51, 70, 12, kOwnerFlat},
    {102, id::main::Redraw, B, "Redraw", 0, 355, 51, 31, 12, kOwnerFlat},
    {102, id::main::CreateLevel, B, "Create Level", 0, 285, 64, 101, 12, kOwnerFlat},
    {102, id::main::Multiplayer, B, "Start Multiplayer", 0, 285, 77, 101, 12, kOwnerFlat},
    {102, id::main::DotStyle, B, "Dot / Speed Indication", 0, 286, 108, 88, 10, BsAutoRadioButton | Group},
    {102, id::main::LineStyle, B, "Line", 0, 286, 122, 29, 10, BsAutoRadioButton},
    {102, id::None, B, "Statistics", 0, 282, 141, 107, 61, BsGroupBox | Disabled},
    {102, id::None, S, "Time :", 0, 291, 154, 20, 8, SsLeft | Group},
    {102, id::None, S, "Distance :", 0, 291, 169, 33, 8, SsLeft | Group},
    {102, id::None, S, "av. Speed :", 0, 291, 185, 38, 8, SsLeft | Group},
    {102, id::main::Time, E, "", 0, 330, 154, 21, 12, EsRight | EsAutoHScroll | ExTransparent | ExRight},
    {102, id::main::Distance, E, "", 0, 329, 169, 22, 14, EsRight | TabStop | ExRight},
    {102, id::main::Speed, E, "", 0, 329, 185, 22, 12, EsRight | TabStop | ExRight},
    {102, id::None, S, "Pixel / s", 0, 357, 185, 26, 8, SsLeft | Group},
    {102, id::None, S, "Pixel", 0, 357, 169, 16, 8, SsLeft | Group},
    {102, id::None, S, "ms", 0, 357, 154, 10, 8, SsLeft | Group},
    {102, id::main::Go, S, "GO !", 0, 371, 154, 16, 10, SsLeft | Group},
    {102, id::None, B, "Best on this Track", 0, 282, 208, 107, 23, BsGroupBox | Disabled},
    {102, id::main::BestName, S, "NOTHING__", 0, 289, 217, 45, 10, SsLeft | Group},
    {102, id::main::BestTime, E, "", 0, 337, 217, 22, 12, EsAutoHScroll | TabStop | ExRight},
    {102, id::None, S, "ms", 0, 363, 217, 10, 8, SsLeft | Group},
    {102, id::main::HiddenStatic, S, "Static", 0, 299, 72, 93, 8, SsLeft | Hidden | Group},
    {102, id::main::Board, S, "IDB_BITMAP2", 0, 7, 6, 267, 246, SsBitmap},
    {102, id::None, B, "Cursor", 0, 282, 97, 107, 38, BsGroupBox | Disabled},
    {102, id::main::BestLabel, S, "Static", 0, 113, 232, 95, 8, SsLeft | Hidden | Group},
    {102, id::main::HiddenPicture, S, "", 0, 152, 222, 15, 13, SsBitmap | Hidden},

    {103, id::names::Name1, E, "", 0, 6, 5, 61, 14, kNameEdit},
    {103, id::names::Name2, E, "", 0, 6, 22, 61, 14, kNameEdit},
    {103, id::names::Name3, E, "", 0, 6, 39, 61, 14, kNameEdit},
    {103, id::names::Name4, E, "", 0, 6, 55, 61, 14, kNameEdit},
    {103, id::names::Name5, E, "", 0, 6, 72, 61, 14, kNameEdit},
    {103, id::Ok, B, "If all names are correct and you want to play now push Enter or use the Mouse to press this huge gray button here.",
     0, 74, 22, 57, 63, BsDefPushButton | BsMultiline | BsFlat | TabStop},
    {103, id::None, S, "<- FIRST PLAYER", 0, 74, 8, 57, 8, SsLeft | Group},

    {144, id::newRecord::Name, E, "", 0, 72, 12, 39, 12, EsAutoHScroll | TabStop | ExTransparent},
    {144, id::Ok, B, "SAVE SCORE", 0, 13, 24, 91, 7, BsDefPushButton | TabStop},
    {144, id::None, S, "YOU MADE A NEW RECORD", 0, 7, 2, 104, 8, SsCenter | Group},
    {144, id::None, S, "Enter your Name :", 0, 13, 12, 57, 8, SsLeft | Group},

    {156, id::creator::HiddenPicture, S, "", 0, 285, 3, 15, 13, SsBitmap | Hidden},
    {156, id::creator::Logo, S, "", 0, 273, 0, 15, 13, SsBitmap},
    {156, id::creator::Walls, B, "Paint Walls", 0, 286, 108, 51, 10, BsAutoRadioButton | Group | TabStop},
    {156, id::creator::Start, B, "Paint Starting Point", 0, 286, 119, 76, 10, BsAutoRadioButton},
    {156, id::creator::Finish, B, "Paint Finishing Point", 0, 286, 130, 79, 10, BsAutoRadioButton},
    {156, id::creator::Eraser, B, "Eraser", 0, 286, 141, 36, 10, BsAutoRadioButton},
    {156, id::creator::BrushSize, T, "Slider2", 0, 294, 167, 80, 10, TbsAutoTicks | TbsBoth | TabStop},
    {156, id::creator::FileName, E, "", 0, 282, 196, 105, 14, EsAutoHScroll | Border | TabStop},
    {156, id::creator::Save, B, "SAVE", 0, 283, 212, 50, 14, kOwnerFlat},
    {156, id::Ok, B, "Cancel", 0, 337, 212, 50, 14, kOwnerFlat},
    {156, id::None, S, "", 0, 3, 6, 263, 239, SsBlackFrame},
    {156, id::None, B, "Tools", 0, 280, 98, 110, 84, BsGroupBox},
    {156, id::None, S, "Choose a filename:", 0, 283, 186, 61, 8, SsLeft | Group},
    {156, id::None, B, "Brush Size", 0, 288, 154, 95, 25, BsGroupBox},

    {185, id::multiplayer::StartNow, B, "START NOW", 0, 8, 90, 61, 16, kOwnerFlat},
    {185, id::multiplayer::WinnerExtraPoint, B, "Winner gets Extra-Point", 0, 47, 95, 83, 9, BsAutoCheckBox | BsFlat | Hidden | TabStop},
    {185, id::multiplayer::CancelSetup, B, "CANCEL", 0, 77, 90, 60, 16, kOwnerFlat},
    {185, id::None, S, "", 139, 2, 4, 141, 13, SsBitmap},
    {185, id::multiplayer::PlayerFlag1, S, "", 205, 75, 19, 10, 12, SsBitmap | SsNotify | SsRealSizeImage},
    {185, id::multiplayer::PlayerFlag2, S, "", 205, 87, 19, 10, 12, SsBitmap | SsNotify | SsRealSizeImage},
    {185, id::multiplayer::PlayerFlag3, S, "", 205, 99, 19, 10, 12, SsBitmap | SsNotify | SsRealSizeImage},
    {185, id::multiplayer::PlayerFlag4, S, "", 205, 111, 19, 10, 12, SsBitmap | SsNotify | SsRealSizeImage},
    {185, id::multiplayer::PlayerFlag5, S, "", 204, 123, 19, 10, 12, SsBitmap | SsRealSizeImage},
    {185, id::None, S, "Status:", 0, 14, 53, 78, 8, SsLeft | Group},
    {185, id::multiplayer::PlayersText, S, "3 Players registred", 0, 20, 63, 103, 8, SsLeft | Group},
    {185, id::multiplayer::RoundsText, S, "3 Rounds per Level and Player", 0, 20, 72, 104, 8, SsLeft | Group},
    {185, id::None, S, "", 219, 12, 20, 60, 11, SsBitmap},
    {185, id::None, S, "", 220, 12, 34, 59, 11, SsBitmap | SsRealSizeImage},
    {185, id::None, S, "", 0, 11, 52, 123, 32, SsBlackFrame},
    {185, id::multiplayer::RoundFlag1, S, "", 205, 75, 33, 10, 12, SsBitmap | SsNotify},
    {185, id::multiplayer::RoundFlag2, S, "", 205, 87, 33, 10, 12, SsBitmap | SsNotify},
    {185, id::multiplayer::RoundFlag3, S, "", 205, 99, 33, 10, 12, SsBitmap | SsNotify},
    {185, id::multiplayer::RoundFlag4, S, "", 205, 111, 33, 10, 12, SsBitmap | SsNotify},
    {185, id::multiplayer::RoundFlag5, S, "", 204, 123, 33, 10, 12, SsBitmap},
    {185, id::multiplayer::SpecifyNames, B, "Specify Names at Start", 0, 51, 90, 80, 9, BsAutoCheckBox | BsFlat | Hidden | TabStop},
    {185, id::None, S, "Flags : ", 0, 17, 91, 23, 8, SsLeft | Hidden | Group},
    {185, id::None, S, "", 0, 11, 87, 123, 21, SsBlackFrame | Hidden},
    {185, id::None, S, "Kurvenflitzerl   -   MULTIPLAYER MODE", 0, 0, 5, 143, 8, SsCenter | Hidden | Group},

    {190, id::Ok, B, "OK", 0, 58, 81, 33, 9, BsDefPushButton | BsFlat | TabStop},
    {190, id::scoreboard::Name1, S, "Static", 0, 12, 28, 35, 8, kNameCell | ExTransparent},
    {190, id::scoreboard::Name3, S, "Static", 0, 12, 48, 35, 8, kNameCell | ExTransparent},
    {190, id::scoreboard::Name2, S, "Static", 0, 12, 38, 35, 8, kNameCell | ExTransparent},
    {190, id::scoreboard::Name4, S, "Static", 0, 12, 58, 35, 8, kNameCell},
    {190, id::scoreboard::Name5, S, "Static", 0, 12, 68, 35, 8, kNameCell},
    {190, id::scoreboard::Points1, S, "Static", 0, 65, 28, 17, 8, SsCenter | Group},
    {190, id::scoreboard::Points2, S, "Static", 0, 65, 38, 17, 8, SsCenter | Group},
    {190, id::scoreboard::Points3, S, "Static", 0, 65, 48, 17, 8, SsCenter | Group},
    {190, id::scoreboard::Points4, S, "Static", 0, 65, 59, 17, 8, SsCenter | Group},
    {190, id::scoreboard::Points5, S, "Static", 0, 65, 69, 17, 8, SsCenter | Group},
    {190, id::scoreboard::Time1, S, "Static", 0, 108, 28, 23, 8, SsCenter | Group},
    {190, id::scoreboard::Time2, S, "Static", 0, 108, 38, 23, 8, SsCenter | Group},
    {190, id::scoreboard::Time3, S, "Static", 0, 108, 48, 23, 8, SsCenter | Group},
    {190, id::scoreboard::Time4, S, "Static", 0, 108, 59, 23, 8, SsCenter | Group},
    {190, id::scoreboard::Time5, S, "Static", 0, 108, 69, 23, 8, SsCenter | Group},
    {190, id::None, S, "PLAYER", 0, 15, 13, 28, 8, SsLeft | Group},
    {190, id::None, S, "POINTS", 0, 61, 13, 26, 8, SsLeft | Group},
    {190, id::None, S, "TIME", 0, 110, 13, 17, 8, SsLeft | Group},

    {207, id::Ok, B, "Continue", 0, 48, 12, 59, 9, BsDefPushButton | BsFlat | TabStop},
    {207, id::notice::Text, S, "Text", 0, 1, 2, 154, 9, SsCenter | Group},

    {208, id::Ok, B, "OK", 0, 57, 23, 50, 9, BsDefPushButton | BsFlat | TabStop},
    {208, id::nextPlayer::Text, S, "Next Player , get ready .", 0, 0, 7, 165, 8, SsCenter | Group},
};
// clang-format on

// Base units written out per template font, independently of the production mapping.
void baseFor(int pointSize, int& bx, int& by) {
    switch (pointSize) {
    case 8:
        bx = 6, by = 13;
        return;
    case 10:
        bx = 8, by = 16;
        return;
    case 14:
        bx = 10, by = 20;
        return;
    }
    FAIL() << "unexpected font size " << pointSize;
}

int roundHalfAway(double v) {
    return static_cast<int>(v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5));
}

QRect expectedPixels(const Row& r, int pointSize) {
    int bx = 0, by = 0;
    baseFor(pointSize, bx, by);
    return {roundHalfAway(r.x * bx / 4.0), roundHalfAway(r.y * by / 8.0),
            roundHalfAway(r.w * bx / 4.0), roundHalfAway(r.h * by / 8.0)};
}

// Position of the row among the rows of its own dialog, i.e. its expected template index.
int templateIndexOf(const Row& row) {
    int index = 0;
    for (const Row& r : kRows) {
        if (&r == &row)
            return index;
        if (r.dialog == row.dialog)
            ++index;
    }
    return -1;
}

int rowCount(int dialog) {
    int n = 0;
    for (const Row& r : kRows)
        n += r.dialog == dialog ? 1 : 0;
    return n;
}

int findControl(const DialogTemplate& t, const Row& row) {
    for (std::size_t i = 0; i < t.controls.size(); ++i) {
        const ControlTemplate& c = t.controls[i];
        if (row.id != id::None ? c.id == row.id
                               : c.id == id::None && std::strcmp(c.text, row.text) == 0 &&
                                     c.rect.x == row.x && c.rect.y == row.y)
            return static_cast<int>(i);
    }
    return -1;
}

const ControlTemplate& byId(const DialogTemplate& t, int id) {
    for (const ControlTemplate& c : t.controls) {
        if (c.id == id)
            return c;
    }
    throw std::out_of_range("no control " + std::to_string(id));
}

QRect pixelsOf(const DialogTemplate& t, int id) {
    return duRectToPixels(byId(t, id).rect, baseUnitsForFont(t.fontPointSize));
}

// Every name of the control id header with the number its dialog's template gives that control.
// The other tests and the table above name controls only through the header, so this is where
// the numbers themselves are pinned. The command ids and "no id" belong to no single dialog.
struct NamedId {
    int dialog; // 0 for the ids that every dialog shares
    int value;
    int number;
    const char* name;
};

// clang-format off
const NamedId kNamedIds[] = {
    {0, id::Ok, 1, "Ok"},
    {0, id::Cancel, 2, "Cancel"},
    {0, id::None, -1, "None"},

    {kMainDialogId, id::main::LoadLevel, 1001, "main::LoadLevel"},
    {kMainDialogId, id::main::Time, 1006, "main::Time"},
    {kMainDialogId, id::main::Board, 1008, "main::Board"},
    {kMainDialogId, id::main::DotStyle, 1009, "main::DotStyle"},
    {kMainDialogId, id::main::LineStyle, 1010, "main::LineStyle"},
    {kMainDialogId, id::main::Redraw, 1012, "main::Redraw"},
    {kMainDialogId, id::main::Distance, 1013, "main::Distance"},
    {kMainDialogId, id::main::Speed, 1014, "main::Speed"},
    {kMainDialogId, id::main::BestName, 1018, "main::BestName"},
    {kMainDialogId, id::main::BestTime, 1020, "main::BestTime"},
    {kMainDialogId, id::main::BestLabel, 1022, "main::BestLabel"},
    {kMainDialogId, id::main::Go, 1023, "main::Go"},
    {kMainDialogId, id::main::CreateLevel, 1025, "main::CreateLevel"},
    {kMainDialogId, id::main::Multiplayer, 1038, "main::Multiplayer"},
    {kMainDialogId, id::main::Logo, 1072, "main::Logo"},
    {kMainDialogId, id::main::HiddenPicture, 1073, "main::HiddenPicture"},
    {kMainDialogId, id::main::HiddenStatic, 1076, "main::HiddenStatic"},

    {kPlayerNamesDialogId, id::names::Name1, 1029, "names::Name1"},
    {kPlayerNamesDialogId, id::names::Name2, 1031, "names::Name2"},
    {kPlayerNamesDialogId, id::names::Name3, 1030, "names::Name3"},
    {kPlayerNamesDialogId, id::names::Name4, 1032, "names::Name4"},
    {kPlayerNamesDialogId, id::names::Name5, 1033, "names::Name5"},

    {kNewRecordDialogId, id::newRecord::Name, 1017, "newRecord::Name"},

    {kLevelCreatorDialogId, id::creator::HiddenPicture, 1075, "creator::HiddenPicture"},
    {kLevelCreatorDialogId, id::creator::Logo, 1074, "creator::Logo"},
    {kLevelCreatorDialogId, id::creator::Walls, 1026, "creator::Walls"},
    {kLevelCreatorDialogId, id::creator::Start, 1027, "creator::Start"},
    {kLevelCreatorDialogId, id::creator::Finish, 1028, "creator::Finish"},
    {kLevelCreatorDialogId, id::creator::Eraser, 1032, "creator::Eraser"},
    {kLevelCreatorDialogId, id::creator::BrushSize, 1091, "creator::BrushSize"},
    {kLevelCreatorDialogId, id::creator::FileName, 1029, "creator::FileName"},
    {kLevelCreatorDialogId, id::creator::Save, 1021, "creator::Save"},

    {kMultiplayerDialogId, id::multiplayer::StartNow, 1042, "multiplayer::StartNow"},
    {kMultiplayerDialogId, id::multiplayer::WinnerExtraPoint, 1034, "multiplayer::WinnerExtraPoint"},
    {kMultiplayerDialogId, id::multiplayer::CancelSetup, 1021, "multiplayer::CancelSetup"},
    {kMultiplayerDialogId, id::multiplayer::PlayerFlag1, 1066, "multiplayer::PlayerFlag1"},
    {kMultiplayerDialogId, id::multiplayer::PlayerFlag2, 1069, "multiplayer::PlayerFlag2"},
    {kMultiplayerDialogId, id::multiplayer::PlayerFlag3, 1068, "multiplayer::PlayerFlag3"},
    {kMultiplayerDialogId, id::multiplayer::PlayerFlag4, 1067, "multiplayer::PlayerFlag4"},
    {kMultiplayerDialogId, id::multiplayer::PlayerFlag5, 1079, "multiplayer::PlayerFlag5"},
    {kMultiplayerDialogId, id::multiplayer::PlayersText, 1080, "multiplayer::PlayersText"},
    {kMultiplayerDialogId, id::multiplayer::RoundsText, 1070, "multiplayer::RoundsText"},
    {kMultiplayerDialogId, id::multiplayer::RoundFlag1, 1081, "multiplayer::RoundFlag1"},
    {kMultiplayerDialogId, id::multiplayer::RoundFlag2, 1082, "multiplayer::RoundFlag2"},
    {kMultiplayerDialogId, id::multiplayer::RoundFlag3, 1083, "multiplayer::RoundFlag3"},
    {kMultiplayerDialogId, id::multiplayer::RoundFlag4, 1084, "multiplayer::RoundFlag4"},
    {kMultiplayerDialogId, id::multiplayer::RoundFlag5, 1085, "multiplayer::RoundFlag5"},
    {kMultiplayerDialogId, id::multiplayer::SpecifyNames, 1033, "multiplayer::SpecifyNames"},

    {kScoreboardDialogId, id::scoreboard::Name1, 1046, "scoreboard::Name1"},
    {kScoreboardDialogId, id::scoreboard::Name2, 1047, "scoreboard::Name2"},
    {kScoreboardDialogId, id::scoreboard::Name3, 1048, "scoreboard::Name3"},
    {kScoreboardDialogId, id::scoreboard::Name4, 1049, "scoreboard::Name4"},
    {kScoreboardDialogId, id::scoreboard::Name5, 1050, "scoreboard::Name5"},
    {kScoreboardDialogId, id::scoreboard::Points1, 1051, "scoreboard::Points1"},
    {kScoreboardDialogId, id::scoreboard::Points2, 1052, "scoreboard::Points2"},
    {kScoreboardDialogId, id::scoreboard::Points3, 1053, "scoreboard::Points3"},
    {kScoreboardDialogId, id::scoreboard::Points4, 1054, "scoreboard::Points4"},
    {kScoreboardDialogId, id::scoreboard::Points5, 1055, "scoreboard::Points5"},
    {kScoreboardDialogId, id::scoreboard::Time1, 1056, "scoreboard::Time1"},
    {kScoreboardDialogId, id::scoreboard::Time2, 1057, "scoreboard::Time2"},
    {kScoreboardDialogId, id::scoreboard::Time3, 1058, "scoreboard::Time3"},
    {kScoreboardDialogId, id::scoreboard::Time4, 1059, "scoreboard::Time4"},
    {kScoreboardDialogId, id::scoreboard::Time5, 1060, "scoreboard::Time5"},

    {kContinueDialogId, id::notice::Text, 1077, "notice::Text"},

    {kNextPlayerDialogId, id::nextPlayer::Text, 1078, "nextPlayer::Text"},
};
// clang-format on

TEST(ControlIds, EachNameStandsForItsTemplateNumber) {
    for (const NamedId& n : kNamedIds) {
        EXPECT_EQ(n.value, n.number) << n.name;
        if (n.dialog != 0) {
            EXPECT_NO_THROW(byId(dialogTemplate(n.dialog), n.value))
                << n.name << " is no control of dialog " << n.dialog;
        }
    }
}

class ControlRowTest : public ::testing::TestWithParam<int> {};

TEST_P(ControlRowTest, MatchesTable) {
    const Row& row = kRows[GetParam()];
    const DialogTemplate& t = dialogTemplate(row.dialog);
    const int index = findControl(t, row);
    ASSERT_GE(index, 0) << "control missing";
    const ControlTemplate& c = t.controls[index];
    EXPECT_EQ(index, templateIndexOf(row)) << "template order (focus order) differs";
    EXPECT_EQ(c.cls, row.cls);
    EXPECT_STREQ(c.text, row.text);
    EXPECT_EQ(c.picture, row.picture);
    EXPECT_EQ(c.styles, row.styles)
        << std::hex << "got 0x" << c.styles << ", want 0x" << row.styles;
    EXPECT_EQ(c.rect.x, row.x);
    EXPECT_EQ(c.rect.y, row.y);
    EXPECT_EQ(c.rect.width, row.w);
    EXPECT_EQ(c.rect.height, row.h);
    EXPECT_EQ(duRectToPixels(c.rect, baseUnitsForFont(t.fontPointSize)),
              expectedPixels(row, t.fontPointSize));
}

INSTANTIATE_TEST_SUITE_P(AllDialogs, ControlRowTest,
                         ::testing::Range(0, static_cast<int>(std::size(kRows))),
                         [](const ::testing::TestParamInfo<int>& info) {
                             const Row& r = kRows[info.param];
                             return "D" + std::to_string(r.dialog) + "_" +
                                    (r.id == id::None ? std::string("none")
                                                      : std::to_string(r.id)) +
                                    "_" + std::to_string(info.param);
                         });

struct DialogCase {
    int id;
    const char* caption;
    int x, y, w, h;
    int font;
    std::uint32_t styles;
    int controls;
    int clientWidth, clientHeight; // pixels, worked out by hand
};

class DialogCaseTest : public ::testing::TestWithParam<DialogCase> {};

TEST_P(DialogCaseTest, MatchesTable) {
    const DialogCase d = GetParam();
    const DialogTemplate& t = dialogTemplate(d.id);
    EXPECT_EQ(t.id, d.id);
    EXPECT_STREQ(t.caption, d.caption);
    EXPECT_EQ(t.rect.x, d.x);
    EXPECT_EQ(t.rect.y, d.y);
    EXPECT_EQ(t.rect.width, d.w);
    EXPECT_EQ(t.rect.height, d.h);
    EXPECT_EQ(t.fontPointSize, d.font);
    EXPECT_EQ(t.styles, d.styles);
    EXPECT_EQ(static_cast<int>(t.controls.size()), d.controls);
    EXPECT_EQ(rowCount(d.id), d.controls) << "test table is incomplete";
    EXPECT_EQ(dialogClientSize(t), QSize(d.clientWidth, d.clientHeight));
}

using namespace kf::dialogStyle;

INSTANTIATE_TEST_SUITE_P(
    AllDialogs, DialogCaseTest,
    ::testing::Values(
        // 397 * 6/4 = 595.5 -> 596, 258 * 13/8 = 419.25 -> 419
        DialogCase{102, "Kurvenflitzerl.exe  ->  Version 1.1 (25k)", 0, 0, 397, 258, 8,
                   Caption | SysMenu | MinimizeBox | ModalFrame | AppWindow, 27, 596, 419},
        // 143 * 8/4 = 286, 94 * 2 = 188
        DialogCase{103, "", 0, 30, 143, 94, 10, Borderless, 7, 286, 188},
        // 117 * 10/4 = 292.5 -> 293, 33 * 20/8 = 82.5 -> 83
        DialogCase{144, "", 0, 0, 117, 33, 14, ThinBorder, 4, 293, 83},
        // 398 * 6/4 = 597, 419
        DialogCase{156, "Kurvenflitzerl.exe  -> Level Creator", 0, 0, 398, 258, 8,
                   Caption | SysMenu | ModalFrame, 14, 597, 419},
        // 144 * 8/4 = 288, 114 * 2 = 228
        DialogCase{185, "", 0, 0, 144, 114, 10, ThinBorder, 24, 288, 228},
        // 144 * 10/4 = 360, 94 * 20/8 = 235
        DialogCase{190, "", 0, 0, 144, 94, 14, ThinBorder, 19, 360, 235},
        // 155 * 8/4 = 310, 44
        DialogCase{207, "", 0, 0, 155, 22, 10, ThinBorder | Center | CenterMouse, 2, 310, 44},
        // 165 * 8/4 = 330, 68
        DialogCase{208, "", 0, 0, 165, 34, 10, ThinBorder | Center, 2, 330, 68}),
    [](const ::testing::TestParamInfo<DialogCase>& info) {
        return "D" + std::to_string(info.param.id);
    });

TEST(DialogTemplates, AllAreListedOnceInIdOrder) {
    const int ids[] = {102, 103, 144, 156, 185, 190, 207, 208};
    const auto& all = allDialogTemplates();
    ASSERT_EQ(all.size(), std::size(ids));
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i]->id, ids[i]);
        EXPECT_EQ(all[i], &dialogTemplate(ids[i])) << "a second copy of dialog " << ids[i];
    }
}

TEST(DialogTemplates, UnknownIdThrows) {
    // 128 and 139 are resources, but an icon and a bitmap rather than dialogs.
    for (int id : {0, 1, 101, 128, 139, 209})
        EXPECT_THROW(dialogTemplate(id), std::out_of_range) << id;
}

TEST(DialogTemplates, IdsAreUniqueWithinEachDialog) {
    for (const DialogTemplate* t : allDialogTemplates()) {
        for (std::size_t i = 0; i < t->controls.size(); ++i) {
            for (std::size_t j = i + 1; j < t->controls.size(); ++j) {
                if (t->controls[i].id != id::None) {
                    EXPECT_NE(t->controls[i].id, t->controls[j].id) << "dialog " << t->id;
                }
            }
        }
    }
}

TEST(DialogTemplates, MainBoardSitsAt11_10AndHasRoomFor400Square) {
    const QRect board = pixelsOf(dialogTemplate(kMainDialogId), id::main::Board);
    EXPECT_EQ(board.topLeft(), QPoint(11, 10));
    EXPECT_EQ(board.size(), QSize(401, 400)); // 267 x 246 units: 400.5 and 399.75 rounded
}

TEST(DialogTemplates, MainButtonsStayAdjacentInPixels) {
    // Redraw starts where Load Level ends, and the wide button below ends exactly where Redraw
    // does.
    const DialogTemplate& t = dialogTemplate(kMainDialogId);
    EXPECT_EQ(pixelsOf(t, id::main::LoadLevel).right() + 1, pixelsOf(t, id::main::Redraw).left());
    EXPECT_EQ(pixelsOf(t, id::main::CreateLevel).right(), pixelsOf(t, id::main::Redraw).right());
    EXPECT_EQ(pixelsOf(t, id::main::Redraw), QRect(533, 83, 47, 20));
}

TEST(DialogTemplates, CreatorFrameRunsFrom5_10To399_397) {
    const DialogTemplate& t = dialogTemplate(kLevelCreatorDialogId);
    const auto frame = std::find_if(t.controls.begin(), t.controls.end(),
                                    [](const auto& c) { return (c.styles & SsBlackFrame) != 0; });
    ASSERT_NE(frame, t.controls.end());
    const QRect px = duRectToPixels(frame->rect, baseUnitsForFont(t.fontPointSize));
    EXPECT_EQ(px.topLeft(), QPoint(5, 10));
    EXPECT_EQ(px.bottomRight(), QPoint(399, 397)); // the last column of the saved level
}

TEST(DialogTemplates, PlayerNameEditsFocusTopToBottom) {
    const DialogTemplate& t = dialogTemplate(kPlayerNamesDialogId);
    const int order[] = {id::names::Name1, id::names::Name2, id::names::Name3, id::names::Name4,
                         id::names::Name5};
    ASSERT_GE(t.controls.size(), std::size(order));
    int previousTop = -1;
    for (std::size_t i = 0; i < std::size(order); ++i) {
        EXPECT_EQ(t.controls[i].id, order[i]) << "focus position " << i;
        const QRect px = pixelsOf(t, order[i]);
        EXPECT_GT(px.top(), previousTop) << order[i] << " is not below the one before";
        previousTop = px.top();
    }
}

TEST(DialogTemplates, OnlyEightOfTheTenFlagsNotify) {
    const DialogTemplate& t = dialogTemplate(kMultiplayerDialogId);
    using namespace id::multiplayer;
    for (int flag : {PlayerFlag1, PlayerFlag2, PlayerFlag3, PlayerFlag4, RoundFlag1, RoundFlag2,
                     RoundFlag3, RoundFlag4})
        EXPECT_NE(byId(t, flag).styles & SsNotify, 0u) << flag;
    for (int flag : {PlayerFlag5, RoundFlag5})
        EXPECT_EQ(byId(t, flag).styles & SsNotify, 0u) << flag;
}

TEST(DialogTemplates, PicturesOnlyNameBitmapResources) {
    for (const DialogTemplate* t : allDialogTemplates()) {
        for (const ControlTemplate& c : t->controls) {
            if (c.picture == 0)
                continue;
            EXPECT_TRUE(c.picture == 139 || c.picture == 204 || c.picture == 205 ||
                        c.picture == 219 || c.picture == 220)
                << c.picture;
            EXPECT_NE(c.styles & SsBitmap, 0u);
            EXPECT_STREQ(c.text, "");
        }
    }
}

struct RoundCase {
    int du;
    int base; // base units for the axis
    bool vertical;
    int pixels;
};

class DialogUnitRounding : public ::testing::TestWithParam<RoundCase> {};

TEST_P(DialogUnitRounding, HalfAwayFromZero) {
    const RoundCase r = GetParam();
    const int got = r.vertical ? duToPixelsY(r.du, BaseUnits{6, r.base})
                               : duToPixelsX(r.du, BaseUnits{r.base, 13});
    EXPECT_EQ(got, r.pixels);
}

INSTANTIATE_TEST_SUITE_P(Cases, DialogUnitRounding,
                         ::testing::Values(RoundCase{3, 6, false, 5},     // 4.5
                                           RoundCase{-3, 6, false, -5},   // -4.5
                                           RoundCase{1, 6, false, 2},     // 1.5
                                           RoundCase{2, 6, false, 3},     // exact
                                           RoundCase{1, 7, false, 2},     // 1.75
                                           RoundCase{1, 10, false, 3},    // 2.5
                                           RoundCase{-1, 10, false, -3},  // -2.5
                                           RoundCase{143, 7, false, 250}, // 250.25
                                           RoundCase{4, 13, true, 7},     // 6.5
                                           RoundCase{-4, 13, true, -7},   // -6.5
                                           RoundCase{6, 13, true, 10},    // 9.75
                                           RoundCase{1, 13, true, 2},     // 1.625
                                           RoundCase{3, 13, true, 5},     // 4.875
                                           RoundCase{5, 13, true, 8},     // 8.125
                                           RoundCase{1, 20, true, 3},     // 2.5
                                           RoundCase{0, 13, true, 0}));

TEST(DialogUnits, BaseUnitsPerFont) {
    const struct { int pt, x, y; } cases[] = {{8, 6, 13}, {10, 8, 16}, {14, 10, 20}};
    for (const auto& c : cases) {
        const BaseUnits bu = baseUnitsForFont(c.pt);
        EXPECT_EQ(bu.x, c.x) << c.pt << " pt";
        EXPECT_EQ(bu.y, c.y) << c.pt << " pt";
    }
}

// The pictures of the multiplayer set-up were drawn for their places: each fills its control to
// within a pixel, so none overlaps the flags beside it or runs past the dialog's edge.
TEST(DialogUnits, SetupPicturesFillTheirPlaces) {
    const DialogTemplate& t = dialogTemplate(kMultiplayerDialogId);
    int pictures = 0;
    for (const ControlTemplate& c : t.controls) {
        if (c.picture == 0)
            continue;
        ++pictures;
        const QRect place = duRectToPixels(c.rect, baseUnitsForFont(t.fontPointSize));
        const QSize size = drawResourcePicture(c.picture).size();
        EXPECT_NEAR(place.width(), size.width(), 1) << c.picture;
        EXPECT_NEAR(place.height(), size.height(), 1) << c.picture;
        EXPECT_LE(place.left() + size.width(), dialogClientSize(t).width()) << c.picture;
    }
    EXPECT_EQ(pictures, 13);
}

TEST(DialogUnits, PositionAndSizeAreEachRounded) {
    // 1 unit wide at x = 1: 1.5 pixels from the left rounds to 2, and the width of 1.5 pixels
    // rounds to 2 as well, wherever the control stands.
    EXPECT_EQ(duRectToPixels(DuRect{1, 0, 1, 1}, BaseUnits{6, 13}), QRect(2, 0, 2, 2));
    EXPECT_EQ(duRectToPixels(DuRect{3, 6, 263, 239}, BaseUnits{6, 13}), QRect(5, 10, 395, 388));
}

} // namespace

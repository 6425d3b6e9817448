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
    {102, 1072, S, "IDB_BITMAP15", 0, 274, 0, 15, 13, SsBitmap | SsNotify},
    {102, 1001, B, "Load Level", 0, 285, 51, 70, 12, kOwnerFlat},
    {102, 1012, B, "Redraw", 0, 355, 51, 31, 12, kOwnerFlat},
    {102, 1025, B, "Create Level", 0, 285, 64, 101, 12, kOwnerFlat},
    {102, 1038, B, "Start Multiplayer", 0, 285, 77, 101, 12, kOwnerFlat},
    {102, 1009, B, "Dot / Speed Indication", 0, 286, 108, 88, 10, BsAutoRadioButton | Group},
    {102, 1010, B, "Line", 0, 286, 122, 29, 10, BsAutoRadioButton},
    {102, kNoId, B, "Statistics", 0, 282, 141, 107, 61, BsGroupBox | Disabled},
    {102, kNoId, S, "Time :", 0, 291, 154, 20, 8, SsLeft | Group},
    {102, kNoId, S, "Distance :", 0, 291, 169, 33, 8, SsLeft | Group},
    {102, kNoId, S, "av. Speed :", 0, 291, 185, 38, 8, SsLeft | Group},
    {102, 1006, E, "", 0, 330, 154, 21, 12, EsRight | EsAutoHScroll | ExTransparent | ExRight},
    {102, 1013, E, "", 0, 329, 169, 22, 14, EsRight | TabStop | ExRight},
    {102, 1014, E, "", 0, 329, 185, 22, 12, EsRight | TabStop | ExRight},
    {102, kNoId, S, "Pixel / s", 0, 357, 185, 26, 8, SsLeft | Group},
    {102, kNoId, S, "Pixel", 0, 357, 169, 16, 8, SsLeft | Group},
    {102, kNoId, S, "ms", 0, 357, 154, 10, 8, SsLeft | Group},
    {102, 1023, S, "GO !", 0, 371, 154, 16, 10, SsLeft | Group},
    {102, kNoId, B, "Best on this Track", 0, 282, 208, 107, 23, BsGroupBox | Disabled},
    {102, 1018, S, "NOTHING__", 0, 289, 217, 45, 10, SsLeft | Group},
    {102, 1020, E, "", 0, 337, 217, 22, 12, EsAutoHScroll | TabStop | ExRight},
    {102, kNoId, S, "ms", 0, 363, 217, 10, 8, SsLeft | Group},
    {102, 1076, S, "Static", 0, 299, 72, 93, 8, SsLeft | Hidden | Group},
    {102, 1008, S, "IDB_BITMAP2", 0, 7, 6, 267, 246, SsBitmap},
    {102, kNoId, B, "Cursor", 0, 282, 97, 107, 38, BsGroupBox | Disabled},
    {102, 1022, S, "Static", 0, 113, 232, 95, 8, SsLeft | Hidden | Group},
    {102, 1073, S, "", 0, 152, 222, 15, 13, SsBitmap | Hidden},

    {103, 1029, E, "", 0, 6, 5, 61, 14, kNameEdit},
    {103, 1031, E, "", 0, 6, 22, 61, 14, kNameEdit},
    {103, 1030, E, "", 0, 6, 39, 61, 14, kNameEdit},
    {103, 1032, E, "", 0, 6, 55, 61, 14, kNameEdit},
    {103, 1033, E, "", 0, 6, 72, 61, 14, kNameEdit},
    {103, 1, B, "If all names are correct and you want to play now push Enter or use the Mouse to press this huge gray button here.",
     0, 74, 22, 57, 63, BsDefPushButton | BsMultiline | BsFlat | TabStop},
    {103, kNoId, S, "<- FIRST PLAYER", 0, 74, 8, 57, 8, SsLeft | Group},

    {144, 1017, E, "", 0, 72, 12, 39, 12, EsAutoHScroll | TabStop | ExTransparent},
    {144, 1, B, "SAVE SCORE", 0, 13, 24, 91, 7, BsDefPushButton | TabStop},
    {144, kNoId, S, "YOU MADE A NEW RECORD", 0, 7, 2, 104, 8, SsCenter | Group},
    {144, kNoId, S, "Enter your Name :", 0, 13, 12, 57, 8, SsLeft | Group},

    {156, 1075, S, "", 0, 285, 3, 15, 13, SsBitmap | Hidden},
    {156, 1074, S, "", 0, 273, 0, 15, 13, SsBitmap},
    {156, 1026, B, "Paint Walls", 0, 286, 108, 51, 10, BsAutoRadioButton | Group | TabStop},
    {156, 1027, B, "Paint Starting Point", 0, 286, 119, 76, 10, BsAutoRadioButton},
    {156, 1028, B, "Paint Finishing Point", 0, 286, 130, 79, 10, BsAutoRadioButton},
    {156, 1032, B, "Eraser", 0, 286, 141, 36, 10, BsAutoRadioButton},
    {156, 1091, T, "Slider2", 0, 294, 167, 80, 10, TbsAutoTicks | TbsBoth | TabStop},
    {156, 1029, E, "", 0, 282, 196, 105, 14, EsAutoHScroll | Border | TabStop},
    {156, 1021, B, "SAVE", 0, 283, 212, 50, 14, kOwnerFlat},
    {156, 1, B, "Cancel", 0, 337, 212, 50, 14, kOwnerFlat},
    {156, kNoId, S, "", 0, 3, 6, 263, 239, SsBlackFrame},
    {156, kNoId, B, "Tools", 0, 280, 98, 110, 84, BsGroupBox},
    {156, kNoId, S, "Choose a filename:", 0, 283, 186, 61, 8, SsLeft | Group},
    {156, kNoId, B, "Brush Size", 0, 288, 154, 95, 25, BsGroupBox},

    {185, 1042, B, "START NOW", 0, 8, 90, 61, 16, kOwnerFlat},
    {185, 1034, B, "Winner gets Extra-Point", 0, 47, 95, 83, 9, BsAutoCheckBox | BsFlat | Hidden | TabStop},
    {185, 1021, B, "CANCEL", 0, 77, 90, 60, 16, kOwnerFlat},
    {185, kNoId, S, "", 139, 2, 4, 141, 13, SsBitmap},
    {185, 1066, S, "", 205, 75, 19, 10, 12, SsBitmap | SsNotify | SsRealSizeImage},
    {185, 1069, S, "", 205, 87, 19, 10, 12, SsBitmap | SsNotify | SsRealSizeImage},
    {185, 1068, S, "", 205, 99, 19, 10, 12, SsBitmap | SsNotify | SsRealSizeImage},
    {185, 1067, S, "", 205, 111, 19, 10, 12, SsBitmap | SsNotify | SsRealSizeImage},
    {185, 1079, S, "", 204, 123, 19, 10, 12, SsBitmap | SsRealSizeImage},
    {185, kNoId, S, "Status:", 0, 14, 53, 78, 8, SsLeft | Group},
    {185, 1080, S, "3 Players registred", 0, 20, 63, 103, 8, SsLeft | Group},
    {185, 1070, S, "3 Rounds per Level and Player", 0, 20, 72, 104, 8, SsLeft | Group},
    {185, kNoId, S, "", 219, 12, 20, 60, 11, SsBitmap},
    {185, kNoId, S, "", 220, 12, 34, 59, 11, SsBitmap | SsRealSizeImage},
    {185, kNoId, S, "", 0, 11, 52, 123, 32, SsBlackFrame},
    {185, 1081, S, "", 205, 75, 33, 10, 12, SsBitmap | SsNotify},
    {185, 1082, S, "", 205, 87, 33, 10, 12, SsBitmap | SsNotify},
    {185, 1083, S, "", 205, 99, 33, 10, 12, SsBitmap | SsNotify},
    {185, 1084, S, "", 205, 111, 33, 10, 12, SsBitmap | SsNotify},
    {185, 1085, S, "", 204, 123, 33, 10, 12, SsBitmap},
    {185, 1033, B, "Specify Names at Start", 0, 51, 90, 80, 9, BsAutoCheckBox | BsFlat | Hidden | TabStop},
    {185, kNoId, S, "Flags : ", 0, 17, 91, 23, 8, SsLeft | Hidden | Group},
    {185, kNoId, S, "", 0, 11, 87, 123, 21, SsBlackFrame | Hidden},
    {185, kNoId, S, "Kurvenflitzerl   -   MULTIPLAYER MODE", 0, 0, 5, 143, 8, SsCenter | Hidden | Group},

    {190, 1, B, "OK", 0, 58, 81, 33, 9, BsDefPushButton | BsFlat | TabStop},
    {190, 1046, S, "Static", 0, 12, 28, 35, 8, kNameCell | ExTransparent},
    {190, 1048, S, "Static", 0, 12, 48, 35, 8, kNameCell | ExTransparent},
    {190, 1047, S, "Static", 0, 12, 38, 35, 8, kNameCell | ExTransparent},
    {190, 1049, S, "Static", 0, 12, 58, 35, 8, kNameCell},
    {190, 1050, S, "Static", 0, 12, 68, 35, 8, kNameCell},
    {190, 1051, S, "Static", 0, 65, 28, 17, 8, SsCenter | Group},
    {190, 1052, S, "Static", 0, 65, 38, 17, 8, SsCenter | Group},
    {190, 1053, S, "Static", 0, 65, 48, 17, 8, SsCenter | Group},
    {190, 1054, S, "Static", 0, 65, 59, 17, 8, SsCenter | Group},
    {190, 1055, S, "Static", 0, 65, 69, 17, 8, SsCenter | Group},
    {190, 1056, S, "Static", 0, 108, 28, 23, 8, SsCenter | Group},
    {190, 1057, S, "Static", 0, 108, 38, 23, 8, SsCenter | Group},
    {190, 1058, S, "Static", 0, 108, 48, 23, 8, SsCenter | Group},
    {190, 1059, S, "Static", 0, 108, 59, 23, 8, SsCenter | Group},
    {190, 1060, S, "Static", 0, 108, 69, 23, 8, SsCenter | Group},
    {190, kNoId, S, "PLAYER", 0, 15, 13, 28, 8, SsLeft | Group},
    {190, kNoId, S, "POINTS", 0, 61, 13, 26, 8, SsLeft | Group},
    {190, kNoId, S, "TIME", 0, 110, 13, 17, 8, SsLeft | Group},

    {207, 1, B, "Continue", 0, 48, 12, 59, 9, BsDefPushButton | BsFlat | TabStop},
    {207, 1077, S, "Text", 0, 1, 2, 154, 9, SsCenter | Group},

    {208, 1, B, "OK", 0, 57, 23, 50, 9, BsDefPushButton | BsFlat | TabStop},
    {208, 1078, S, "Next Player , get ready .", 0, 0, 7, 165, 8, SsCenter | Group},
};
// clang-format on

// Base units written out per template font, independently of the production mapping.
void baseFor(int pointSize, int& bx, int& by) {
    switch (pointSize) {
    case 8:
        bx = 6, by = 13;
        return;
    case 10:
        bx = 7, by = 16;
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
    const int left = roundHalfAway(r.x * bx / 4.0);
    const int right = roundHalfAway((r.x + r.w) * bx / 4.0);
    const int top = roundHalfAway(r.y * by / 8.0);
    const int bottom = roundHalfAway((r.y + r.h) * by / 8.0);
    return {left, top, right - left, bottom - top};
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
        if (row.id != kNoId ? c.id == row.id
                            : c.id == kNoId && std::strcmp(c.text, row.text) == 0 &&
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
                                    (r.id == kNoId ? std::string("none") : std::to_string(r.id)) +
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
        // 143 * 7/4 = 250.25 -> 250, 94 * 2 = 188
        DialogCase{103, "", 0, 30, 143, 94, 10, Borderless, 7, 250, 188},
        // 117 * 10/4 = 292.5 -> 293, 33 * 20/8 = 82.5 -> 83
        DialogCase{144, "", 0, 0, 117, 33, 14, ThinBorder, 4, 293, 83},
        // 398 * 6/4 = 597, 419
        DialogCase{156, "Kurvenflitzerl.exe  -> Level Creator", 0, 0, 398, 258, 8,
                   Caption | SysMenu | ModalFrame, 14, 597, 419},
        // 144 * 7/4 = 252, 114 * 2 = 228
        DialogCase{185, "", 0, 0, 144, 114, 10, ThinBorder, 24, 252, 228},
        // 144 * 10/4 = 360, 94 * 20/8 = 235
        DialogCase{190, "", 0, 0, 144, 94, 14, ThinBorder, 19, 360, 235},
        // 155 * 7/4 = 271.25 -> 271, 44
        DialogCase{207, "", 0, 0, 155, 22, 10, ThinBorder | Center | CenterMouse, 2, 271, 44},
        // 165 * 7/4 = 288.75 -> 289, 68
        DialogCase{208, "", 0, 0, 165, 34, 10, ThinBorder | Center, 2, 289, 68}),
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
                if (t->controls[i].id != kNoId) {
                    EXPECT_NE(t->controls[i].id, t->controls[j].id) << "dialog " << t->id;
                }
            }
        }
    }
}

TEST(DialogTemplates, MainBoardSitsAt11_10AndIs400Square) {
    EXPECT_EQ(pixelsOf(dialogTemplate(kMainDialogId), 1008), QRect(11, 10, 400, 400));
}

TEST(DialogTemplates, MainButtonsStayAdjacentInPixels) {
    // Corners are mapped, not sizes: Redraw starts where Load Level ends, and the wide button
    // below ends exactly where Redraw does.
    const DialogTemplate& t = dialogTemplate(kMainDialogId);
    EXPECT_EQ(pixelsOf(t, 1001).right() + 1, pixelsOf(t, 1012).left());
    EXPECT_EQ(pixelsOf(t, 1025).right(), pixelsOf(t, 1012).right());
    EXPECT_EQ(pixelsOf(t, 1012), QRect(533, 83, 46, 19));
}

TEST(DialogTemplates, CreatorFrameMapsTo5_10UpTo399_398) {
    const DialogTemplate& t = dialogTemplate(kLevelCreatorDialogId);
    const auto frame = std::find_if(t.controls.begin(), t.controls.end(),
                                    [](const auto& c) { return (c.styles & SsBlackFrame) != 0; });
    ASSERT_NE(frame, t.controls.end());
    const QRect px = duRectToPixels(frame->rect, baseUnitsForFont(t.fontPointSize));
    EXPECT_EQ(px, QRect(5, 10, 394, 388));
    EXPECT_EQ(px.left() + px.width(), 399); // exclusive right edge
    EXPECT_EQ(px.top() + px.height(), 398); // exclusive bottom edge
}

TEST(DialogTemplates, PlayerNameEditsFocusTopToBottom) {
    const DialogTemplate& t = dialogTemplate(kPlayerNamesDialogId);
    const int order[] = {1029, 1031, 1030, 1032, 1033};
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
    for (int id : {1066, 1069, 1068, 1067, 1081, 1082, 1083, 1084})
        EXPECT_NE(byId(t, id).styles & SsNotify, 0u) << id;
    for (int id : {1079, 1085})
        EXPECT_EQ(byId(t, id).styles & SsNotify, 0u) << id;
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
    const struct { int pt, x, y; } cases[] = {{8, 6, 13}, {10, 7, 16}, {14, 10, 20}};
    for (const auto& c : cases) {
        const BaseUnits bu = baseUnitsForFont(c.pt);
        EXPECT_EQ(bu.x, c.x) << c.pt << " pt";
        EXPECT_EQ(bu.y, c.y) << c.pt << " pt";
    }
}

TEST(DialogUnits, RectMapsCornersNotSizes) {
    // 1 du at x = 1: corners 1.5 -> 2 and 3 -> 3 give width 1, while mapping the width alone
    // would give 2.
    EXPECT_EQ(duRectToPixels(DuRect{1, 0, 1, 1}, BaseUnits{6, 13}), QRect(2, 0, 1, 2));
}

} // namespace

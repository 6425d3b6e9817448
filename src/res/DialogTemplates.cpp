#include "res/DialogTemplates.h"

#include <stdexcept>
#include <string>

namespace kf {

namespace {

constexpr auto Static = ControlClass::Static;
constexpr auto Button = ControlClass::Button;
constexpr auto Edit = ControlClass::Edit;
constexpr auto Trackbar = ControlClass::Trackbar;

ControlTemplate control(int id, ControlClass cls, const char* text, DuRect r,
                        std::uint32_t styles) {
    return {id, cls, text, 0, r, styles};
}

// A bitmap static whose template names picture resource n; such statics carry no text.
ControlTemplate picture(int id, int n, DuRect r, std::uint32_t styles) {
    return {id, Static, "", n, r, styles};
}

DialogTemplate mainDialog() {
    using namespace style;
    return {
        kMainDialogId,
        "Kurvenflitzerl.exe  ->  Version 1.1 (25k)",
        {0, 0, 397, 258},
        8,
        dialogStyle::Caption | dialogStyle::SysMenu | dialogStyle::MinimizeBox |
            dialogStyle::ModalFrame | dialogStyle::AppWindow,
        {
            // The two "IDB_" statics name pictures that do not exist; they get theirs
            // at run time.
            control(1072, Static, "IDB_BITMAP15", {274, 0, 15, 13}, SsBitmap | SsNotify),
            control(1001, Button, "Load Level", {285, 51, 70, 12}, BsOwnerDraw | BsFlat | TabStop),
            control(1012, Button, "Redraw", {355, 51, 31, 12}, BsOwnerDraw | BsFlat | TabStop),
            control(1025, Button, "Create Level", {285, 64, 101, 12},
                    BsOwnerDraw | BsFlat | TabStop),
            control(1038, Button, "Start Multiplayer", {285, 77, 101, 12},
                    BsOwnerDraw | BsFlat | TabStop),
            control(1009, Button, "Dot / Speed Indication", {286, 108, 88, 10},
                    BsAutoRadioButton | Group),
            control(1010, Button, "Line", {286, 122, 29, 10}, BsAutoRadioButton),
            control(kNoId, Button, "Statistics", {282, 141, 107, 61}, BsGroupBox | Disabled),
            control(kNoId, Static, "Time :", {291, 154, 20, 8}, SsLeft | Group),
            control(kNoId, Static, "Distance :", {291, 169, 33, 8}, SsLeft | Group),
            control(kNoId, Static, "av. Speed :", {291, 185, 38, 8}, SsLeft | Group),
            control(1006, Edit, "", {330, 154, 21, 12},
                    EsRight | EsAutoHScroll | ExTransparent | ExRight),
            control(1013, Edit, "", {329, 169, 22, 14}, EsRight | TabStop | ExRight),
            control(1014, Edit, "", {329, 185, 22, 12}, EsRight | TabStop | ExRight),
            control(kNoId, Static, "Pixel / s", {357, 185, 26, 8}, SsLeft | Group),
            control(kNoId, Static, "Pixel", {357, 169, 16, 8}, SsLeft | Group),
            control(kNoId, Static, "ms", {357, 154, 10, 8}, SsLeft | Group),
            control(1023, Static, "GO !", {371, 154, 16, 10}, SsLeft | Group),
            control(kNoId, Button, "Best on this Track", {282, 208, 107, 23},
                    BsGroupBox | Disabled),
            control(1018, Static, "NOTHING__", {289, 217, 45, 10}, SsLeft | Group),
            control(1020, Edit, "", {337, 217, 22, 12}, EsAutoHScroll | TabStop | ExRight),
            control(kNoId, Static, "ms", {363, 217, 10, 8}, SsLeft | Group),
            control(1076, Static, "Static", {299, 72, 93, 8}, SsLeft | Hidden | Group),
            control(1008, Static, "IDB_BITMAP2", {7, 6, 267, 246}, SsBitmap),
            control(kNoId, Button, "Cursor", {282, 97, 107, 38}, BsGroupBox | Disabled),
            control(1022, Static, "Static", {113, 232, 95, 8}, SsLeft | Hidden | Group),
            control(1073, Static, "", {152, 222, 15, 13}, SsBitmap | Hidden),
        }};
}

DialogTemplate playerNamesDialog() {
    using namespace style;
    // The edits' ids are not in screen order, but template order is top to bottom.
    constexpr std::uint32_t nameEdit =
        EsCenter | EsAutoHScroll | Border | TabStop | ExDlgModalFrame;
    return {kPlayerNamesDialogId,
            "",
            {0, 30, 143, 94},
            10,
            dialogStyle::Borderless,
            {
                control(1029, Edit, "", {6, 5, 61, 14}, nameEdit),
                control(1031, Edit, "", {6, 22, 61, 14}, nameEdit),
                control(1030, Edit, "", {6, 39, 61, 14}, nameEdit),
                control(1032, Edit, "", {6, 55, 61, 14}, nameEdit),
                control(1033, Edit, "", {6, 72, 61, 14}, nameEdit),
                control(kIdOk, Button,
                        "If all names are correct and you want to play now push Enter or use the "
                        "Mouse to press this huge gray button here.",
                        {74, 22, 57, 63}, BsDefPushButton | BsMultiline | BsFlat | TabStop),
                control(kNoId, Static, "<- FIRST PLAYER", {74, 8, 57, 8}, SsLeft | Group),
            }};
}

DialogTemplate newRecordDialog() {
    using namespace style;
    return {kNewRecordDialogId,
            "",
            {0, 0, 117, 33},
            14,
            dialogStyle::ThinBorder,
            {
                control(1017, Edit, "", {72, 12, 39, 12}, EsAutoHScroll | TabStop | ExTransparent),
                control(kIdOk, Button, "SAVE SCORE", {13, 24, 91, 7}, BsDefPushButton | TabStop),
                control(kNoId, Static, "YOU MADE A NEW RECORD", {7, 2, 104, 8}, SsCenter | Group),
                control(kNoId, Static, "Enter your Name :", {13, 12, 57, 8}, SsLeft | Group),
            }};
}

DialogTemplate levelCreatorDialog() {
    using namespace style;
    return {
        kLevelCreatorDialogId,
        "Kurvenflitzerl.exe  -> Level Creator",
        {0, 0, 398, 258},
        8,
        dialogStyle::Caption | dialogStyle::SysMenu | dialogStyle::ModalFrame,
        {
            control(1075, Static, "", {285, 3, 15, 13}, SsBitmap | Hidden),
            control(1074, Static, "", {273, 0, 15, 13}, SsBitmap),
            control(1026, Button, "Paint Walls", {286, 108, 51, 10},
                    BsAutoRadioButton | Group | TabStop),
            control(1027, Button, "Paint Starting Point", {286, 119, 76, 10}, BsAutoRadioButton),
            control(1028, Button, "Paint Finishing Point", {286, 130, 79, 10}, BsAutoRadioButton),
            control(1032, Button, "Eraser", {286, 141, 36, 10}, BsAutoRadioButton),
            control(1091, Trackbar, "Slider2", {294, 167, 80, 10},
                    TbsAutoTicks | TbsBoth | TabStop),
            control(1029, Edit, "", {282, 196, 105, 14}, EsAutoHScroll | Border | TabStop),
            control(1021, Button, "SAVE", {283, 212, 50, 14}, BsOwnerDraw | BsFlat | TabStop),
            control(kIdOk, Button, "Cancel", {337, 212, 50, 14}, BsOwnerDraw | BsFlat | TabStop),
            // Frame around the canvas; the strokes are clipped to the area inside it.
            control(kNoId, Static, "", {3, 6, 263, 239}, SsBlackFrame),
            control(kNoId, Button, "Tools", {280, 98, 110, 84}, BsGroupBox),
            control(kNoId, Static, "Choose a filename:", {283, 186, 61, 8}, SsLeft | Group),
            control(kNoId, Button, "Brush Size", {288, 154, 95, 25}, BsGroupBox),
        }};
}

DialogTemplate multiplayerDialog() {
    using namespace style;
    return {kMultiplayerDialogId,
            "",
            {0, 0, 144, 114},
            10,
            dialogStyle::ThinBorder,
            {
                control(1042, Button, "START NOW", {8, 90, 61, 16}, BsOwnerDraw | BsFlat | TabStop),
                control(1034, Button, "Winner gets Extra-Point", {47, 95, 83, 9},
                        BsAutoCheckBox | BsFlat | Hidden | TabStop),
                control(1021, Button, "CANCEL", {77, 90, 60, 16}, BsOwnerDraw | BsFlat | TabStop),
                picture(kNoId, 139, {2, 4, 141, 13}, SsBitmap),
                // Player flags. The fifth one (1079) does not notify, so a click on it is lost.
                picture(1066, 205, {75, 19, 10, 12}, SsBitmap | SsNotify | SsRealSizeImage),
                picture(1069, 205, {87, 19, 10, 12}, SsBitmap | SsNotify | SsRealSizeImage),
                picture(1068, 205, {99, 19, 10, 12}, SsBitmap | SsNotify | SsRealSizeImage),
                picture(1067, 205, {111, 19, 10, 12}, SsBitmap | SsNotify | SsRealSizeImage),
                picture(1079, 204, {123, 19, 10, 12}, SsBitmap | SsRealSizeImage),
                control(kNoId, Static, "Status:", {14, 53, 78, 8}, SsLeft | Group),
                control(1080, Static, "3 Players registred", {20, 63, 103, 8}, SsLeft | Group),
                control(1070, Static, "3 Rounds per Level and Player", {20, 72, 104, 8},
                        SsLeft | Group),
                picture(kNoId, 219, {12, 20, 60, 11}, SsBitmap),
                picture(kNoId, 220, {12, 34, 59, 11}, SsBitmap | SsRealSizeImage),
                control(kNoId, Static, "", {11, 52, 123, 32}, SsBlackFrame),
                // Round flags; again the fifth one (1085) does not notify.
                picture(1081, 205, {75, 33, 10, 12}, SsBitmap | SsNotify),
                picture(1082, 205, {87, 33, 10, 12}, SsBitmap | SsNotify),
                picture(1083, 205, {99, 33, 10, 12}, SsBitmap | SsNotify),
                picture(1084, 205, {111, 33, 10, 12}, SsBitmap | SsNotify),
                picture(1085, 204, {123, 33, 10, 12}, SsBitmap),
                control(1033, Button, "Specify Names at Start", {51, 90, 80, 9},
                        BsAutoCheckBox | BsFlat | Hidden | TabStop),
                control(kNoId, Static, "Flags : ", {17, 91, 23, 8}, SsLeft | Hidden | Group),
                control(kNoId, Static, "", {11, 87, 123, 21}, SsBlackFrame | Hidden),
                control(kNoId, Static, "Kurvenflitzerl   -   MULTIPLAYER MODE", {0, 5, 143, 8},
                        SsCenter | Hidden | Group),
            }};
}

DialogTemplate scoreboardDialog() {
    using namespace style;
    // Only the first three name cells are transparent; the rows 1047/1048 swap in template order.
    return {kScoreboardDialogId,
            "",
            {0, 0, 144, 94},
            14,
            dialogStyle::ThinBorder,
            {
                control(kIdOk, Button, "OK", {58, 81, 33, 9}, BsDefPushButton | BsFlat | TabStop),
                control(1046, Static, "Static", {12, 28, 35, 8},
                        SsCenter | SsCenterImage | Group | ExTransparent),
                control(1048, Static, "Static", {12, 48, 35, 8},
                        SsCenter | SsCenterImage | Group | ExTransparent),
                control(1047, Static, "Static", {12, 38, 35, 8},
                        SsCenter | SsCenterImage | Group | ExTransparent),
                control(1049, Static, "Static", {12, 58, 35, 8}, SsCenter | SsCenterImage | Group),
                control(1050, Static, "Static", {12, 68, 35, 8}, SsCenter | SsCenterImage | Group),
                control(1051, Static, "Static", {65, 28, 17, 8}, SsCenter | Group),
                control(1052, Static, "Static", {65, 38, 17, 8}, SsCenter | Group),
                control(1053, Static, "Static", {65, 48, 17, 8}, SsCenter | Group),
                control(1054, Static, "Static", {65, 59, 17, 8}, SsCenter | Group),
                control(1055, Static, "Static", {65, 69, 17, 8}, SsCenter | Group),
                control(1056, Static, "Static", {108, 28, 23, 8}, SsCenter | Group),
                control(1057, Static, "Static", {108, 38, 23, 8}, SsCenter | Group),
                control(1058, Static, "Static", {108, 48, 23, 8}, SsCenter | Group),
                control(1059, Static, "Static", {108, 59, 23, 8}, SsCenter | Group),
                control(1060, Static, "Static", {108, 69, 23, 8}, SsCenter | Group),
                control(kNoId, Static, "PLAYER", {15, 13, 28, 8}, SsLeft | Group),
                control(kNoId, Static, "POINTS", {61, 13, 26, 8}, SsLeft | Group),
                control(kNoId, Static, "TIME", {110, 13, 17, 8}, SsLeft | Group),
            }};
}

DialogTemplate continueDialog() {
    using namespace style;
    return {
        kContinueDialogId,
        "",
        {0, 0, 155, 22},
        10,
        dialogStyle::ThinBorder | dialogStyle::Center | dialogStyle::CenterMouse,
        {
            control(kIdOk, Button, "Continue", {48, 12, 59, 9}, BsDefPushButton | BsFlat | TabStop),
            control(1077, Static, "Text", {1, 2, 154, 9}, SsCenter | Group),
        }};
}

DialogTemplate nextPlayerDialog() {
    using namespace style;
    return {
        kNextPlayerDialogId,
        "",
        {0, 0, 165, 34},
        10,
        dialogStyle::ThinBorder | dialogStyle::Center,
        {
            control(kIdOk, Button, "OK", {57, 23, 50, 9}, BsDefPushButton | BsFlat | TabStop),
            control(1078, Static, "Next Player , get ready .", {0, 7, 165, 8}, SsCenter | Group),
        }};
}

// Built once; the dialogs keep references into it for the life of the program.
const std::vector<DialogTemplate>& templates() {
    static const std::vector<DialogTemplate> all{
        mainDialog(),        playerNamesDialog(), newRecordDialog(), levelCreatorDialog(),
        multiplayerDialog(), scoreboardDialog(),  continueDialog(),  nextPlayerDialog(),
    };
    return all;
}

} // namespace

const DialogTemplate& dialogTemplate(int id) {
    for (const DialogTemplate& t : templates()) {
        if (t.id == id)
            return t;
    }
    throw std::out_of_range("no dialog template with id " + std::to_string(id));
}

const std::vector<const DialogTemplate*>& allDialogTemplates() {
    static const std::vector<const DialogTemplate*> all = [] {
        std::vector<const DialogTemplate*> v;
        for (const DialogTemplate& t : templates())
            v.push_back(&t);
        return v;
    }();
    return all;
}

} // namespace kf

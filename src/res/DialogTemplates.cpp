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
            control(id::main::Logo, Static, "IDB_BITMAP15", {274, 0, 15, 13}, SsBitmap | SsNotify),
            control(id::main::LoadLevel, Button, "Load Level", {285, 51, 70, 12},
                    BsOwnerDraw | BsFlat | TabStop),
            control(id::main::Redraw, Button, "Redraw", {355, 51, 31, 12},
                    BsOwnerDraw | BsFlat | TabStop),
            control(id::main::CreateLevel, Button, "Create Level", {285, 64, 101, 12},
                    BsOwnerDraw | BsFlat | TabStop),
            control(id::main::Multiplayer, Button, "Start Multiplayer", {285, 77, 101, 12},
                    BsOwnerDraw | BsFlat | TabStop),
            control(id::main::DotStyle, Button, "Dot / Speed Indication", {286, 108, 88, 10},
                    BsAutoRadioButton | Group),
            control(id::main::LineStyle, Button, "Line", {286, 122, 29, 10}, BsAutoRadioButton),
            control(id::None, Button, "Statistics", {282, 141, 107, 61}, BsGroupBox | Disabled),
            control(id::None, Static, "Time :", {291, 154, 20, 8}, SsLeft | Group),
            control(id::None, Static, "Distance :", {291, 169, 33, 8}, SsLeft | Group),
            control(id::None, Static, "av. Speed :", {291, 185, 38, 8}, SsLeft | Group),
            control(id::main::Time, Edit, "", {330, 154, 21, 12},
                    EsRight | EsAutoHScroll | ExTransparent | ExRight),
            control(id::main::Distance, Edit, "", {329, 169, 22, 14}, EsRight | TabStop | ExRight),
            control(id::main::Speed, Edit, "", {329, 185, 22, 12}, EsRight | TabStop | ExRight),
            control(id::None, Static, "Pixel / s", {357, 185, 26, 8}, SsLeft | Group),
            control(id::None, Static, "Pixel", {357, 169, 16, 8}, SsLeft | Group),
            control(id::None, Static, "ms", {357, 154, 10, 8}, SsLeft | Group),
            control(id::main::Go, Static, "GO !", {371, 154, 16, 10}, SsLeft | Group),
            control(id::None, Button, "Best on this Track", {282, 208, 107, 23},
                    BsGroupBox | Disabled),
            control(id::main::BestName, Static, "NOTHING__", {289, 217, 45, 10}, SsLeft | Group),
            control(id::main::BestTime, Edit, "", {337, 217, 22, 12},
                    EsAutoHScroll | TabStop | ExRight),
            control(id::None, Static, "ms", {363, 217, 10, 8}, SsLeft | Group),
            control(id::main::HiddenStatic, Static, "Static", {299, 72, 93, 8},
                    SsLeft | Hidden | Group),
            control(id::main::Board, Static, "IDB_BITMAP2", {7, 6, 267, 246}, SsBitmap),
            control(id::None, Button, "Cursor", {282, 97, 107, 38}, BsGroupBox | Disabled),
            control(id::main::BestLabel, Static, "Static", {113, 232, 95, 8},
                    SsLeft | Hidden | Group),
            control(id::main::HiddenPicture, Static, "", {152, 222, 15, 13}, SsBitmap | Hidden),
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
                control(id::names::Name1, Edit, "", {6, 5, 61, 14}, nameEdit),
                control(id::names::Name2, Edit, "", {6, 22, 61, 14}, nameEdit),
                control(id::names::Name3, Edit, "", {6, 39, 61, 14}, nameEdit),
                control(id::names::Name4, Edit, "", {6, 55, 61, 14}, nameEdit),
                control(id::names::Name5, Edit, "", {6, 72, 61, 14}, nameEdit),
                control(id::Ok, Button,
                        "If all names are correct and you want to play now push Enter or use the "
                        "Mouse to press this huge gray button here.",
                        {74, 22, 57, 63}, BsDefPushButton | BsMultiline | BsFlat | TabStop),
                control(id::None, Static, "<- FIRST PLAYER", {74, 8, 57, 8}, SsLeft | Group),
            }};
}

DialogTemplate newRecordDialog() {
    using namespace style;
    return {
        kNewRecordDialogId,
        "",
        {0, 0, 117, 33},
        14,
        dialogStyle::ThinBorder,
        {
            control(id::newRecord::Name, Edit, "", {72, 12, 39, 12},
                    EsAutoHScroll | TabStop | ExTransparent),
            control(id::Ok, Button, "SAVE SCORE", {13, 24, 91, 7}, BsDefPushButton | TabStop),
            control(id::None, Static, "YOU MADE A NEW RECORD", {7, 2, 104, 8}, SsCenter | Group),
            control(id::None, Static, "Enter your Name :", {13, 12, 57, 8}, SsLeft | Group),
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
            control(id::creator::HiddenPicture, Static, "", {285, 3, 15, 13}, SsBitmap | Hidden),
            control(id::creator::Logo, Static, "", {273, 0, 15, 13}, SsBitmap),
            control(id::creator::Walls, Button, "Paint Walls", {286, 108, 51, 10},
                    BsAutoRadioButton | Group | TabStop),
            control(id::creator::Start, Button, "Paint Starting Point", {286, 119, 76, 10},
                    BsAutoRadioButton),
            control(id::creator::Finish, Button, "Paint Finishing Point", {286, 130, 79, 10},
                    BsAutoRadioButton),
            control(id::creator::Eraser, Button, "Eraser", {286, 141, 36, 10}, BsAutoRadioButton),
            control(id::creator::BrushSize, Trackbar, "Slider2", {294, 167, 80, 10},
                    TbsAutoTicks | TbsBoth | TabStop),
            control(id::creator::FileName, Edit, "", {282, 196, 105, 14},
                    EsAutoHScroll | Border | TabStop),
            control(id::creator::Save, Button, "SAVE", {283, 212, 50, 14},
                    BsOwnerDraw | BsFlat | TabStop),
            // The button labelled Cancel carries the OK command's id.
            control(id::Ok, Button, "Cancel", {337, 212, 50, 14}, BsOwnerDraw | BsFlat | TabStop),
            // Frame around the canvas. Strokes are not clipped to it: a segment is drawn only
            // when both its end points lie inside the painting bounds, and wide strokes spill
            // over the frame.
            control(id::None, Static, "", {3, 6, 263, 239}, SsBlackFrame),
            control(id::None, Button, "Tools", {280, 98, 110, 84}, BsGroupBox),
            control(id::None, Static, "Choose a filename:", {283, 186, 61, 8}, SsLeft | Group),
            control(id::None, Button, "Brush Size", {288, 154, 95, 25}, BsGroupBox),
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
                control(id::multiplayer::StartNow, Button, "START NOW", {8, 90, 61, 16},
                        BsOwnerDraw | BsFlat | TabStop),
                control(id::multiplayer::WinnerExtraPoint, Button, "Winner gets Extra-Point",
                        {47, 95, 83, 9}, BsAutoCheckBox | BsFlat | Hidden | TabStop),
                control(id::multiplayer::CancelSetup, Button, "CANCEL", {77, 90, 60, 16},
                        BsOwnerDraw | BsFlat | TabStop),
                picture(id::None, 139, {2, 4, 141, 13}, SsBitmap),
                // Player flags. The fifth one does not notify, so a click on it is lost.
                picture(id::multiplayer::PlayerFlag1, 205, {75, 19, 10, 12},
                        SsBitmap | SsNotify | SsRealSizeImage),
                picture(id::multiplayer::PlayerFlag2, 205, {87, 19, 10, 12},
                        SsBitmap | SsNotify | SsRealSizeImage),
                picture(id::multiplayer::PlayerFlag3, 205, {99, 19, 10, 12},
                        SsBitmap | SsNotify | SsRealSizeImage),
                picture(id::multiplayer::PlayerFlag4, 205, {111, 19, 10, 12},
                        SsBitmap | SsNotify | SsRealSizeImage),
                picture(id::multiplayer::PlayerFlag5, 204, {123, 19, 10, 12},
                        SsBitmap | SsRealSizeImage),
                control(id::None, Static, "Status:", {14, 53, 78, 8}, SsLeft | Group),
                control(id::multiplayer::PlayersText, Static, "3 Players registred",
                        {20, 63, 103, 8}, SsLeft | Group),
                control(id::multiplayer::RoundsText, Static, "3 Rounds per Level and Player",
                        {20, 72, 104, 8}, SsLeft | Group),
                picture(id::None, 219, {12, 20, 60, 11}, SsBitmap),
                picture(id::None, 220, {12, 34, 59, 11}, SsBitmap | SsRealSizeImage),
                control(id::None, Static, "", {11, 52, 123, 32}, SsBlackFrame),
                // Round flags; again the fifth one does not notify.
                picture(id::multiplayer::RoundFlag1, 205, {75, 33, 10, 12}, SsBitmap | SsNotify),
                picture(id::multiplayer::RoundFlag2, 205, {87, 33, 10, 12}, SsBitmap | SsNotify),
                picture(id::multiplayer::RoundFlag3, 205, {99, 33, 10, 12}, SsBitmap | SsNotify),
                picture(id::multiplayer::RoundFlag4, 205, {111, 33, 10, 12}, SsBitmap | SsNotify),
                picture(id::multiplayer::RoundFlag5, 204, {123, 33, 10, 12}, SsBitmap),
                control(id::multiplayer::SpecifyNames, Button, "Specify Names at Start",
                        {51, 90, 80, 9}, BsAutoCheckBox | BsFlat | Hidden | TabStop),
                control(id::None, Static, "Flags : ", {17, 91, 23, 8}, SsLeft | Hidden | Group),
                control(id::None, Static, "", {11, 87, 123, 21}, SsBlackFrame | Hidden),
                control(id::None, Static, "Kurvenflitzerl   -   MULTIPLAYER MODE", {0, 5, 143, 8},
                        SsCenter | Hidden | Group),
            }};
}

DialogTemplate scoreboardDialog() {
    using namespace style;
    // Only the first three name cells are transparent; the second and third rows swap in
    // template order.
    return {
        kScoreboardDialogId,
        "",
        {0, 0, 144, 94},
        14,
        dialogStyle::ThinBorder,
        {
            control(id::Ok, Button, "OK", {58, 81, 33, 9}, BsDefPushButton | BsFlat | TabStop),
            control(id::scoreboard::Name1, Static, "Static", {12, 28, 35, 8},
                    SsCenter | SsCenterImage | Group | ExTransparent),
            control(id::scoreboard::Name3, Static, "Static", {12, 48, 35, 8},
                    SsCenter | SsCenterImage | Group | ExTransparent),
            control(id::scoreboard::Name2, Static, "Static", {12, 38, 35, 8},
                    SsCenter | SsCenterImage | Group | ExTransparent),
            control(id::scoreboard::Name4, Static, "Static", {12, 58, 35, 8},
                    SsCenter | SsCenterImage | Group),
            control(id::scoreboard::Name5, Static, "Static", {12, 68, 35, 8},
                    SsCenter | SsCenterImage | Group),
            control(id::scoreboard::Points1, Static, "Static", {65, 28, 17, 8}, SsCenter | Group),
            control(id::scoreboard::Points2, Static, "Static", {65, 38, 17, 8}, SsCenter | Group),
            control(id::scoreboard::Points3, Static, "Static", {65, 48, 17, 8}, SsCenter | Group),
            control(id::scoreboard::Points4, Static, "Static", {65, 59, 17, 8}, SsCenter | Group),
            control(id::scoreboard::Points5, Static, "Static", {65, 69, 17, 8}, SsCenter | Group),
            control(id::scoreboard::Time1, Static, "Static", {108, 28, 23, 8}, SsCenter | Group),
            control(id::scoreboard::Time2, Static, "Static", {108, 38, 23, 8}, SsCenter | Group),
            control(id::scoreboard::Time3, Static, "Static", {108, 48, 23, 8}, SsCenter | Group),
            control(id::scoreboard::Time4, Static, "Static", {108, 59, 23, 8}, SsCenter | Group),
            control(id::scoreboard::Time5, Static, "Static", {108, 69, 23, 8}, SsCenter | Group),
            control(id::None, Static, "PLAYER", {15, 13, 28, 8}, SsLeft | Group),
            control(id::None, Static, "POINTS", {61, 13, 26, 8}, SsLeft | Group),
            control(id::None, Static, "TIME", {110, 13, 17, 8}, SsLeft | Group),
        }};
}

DialogTemplate continueDialog() {
    using namespace style;
    return {kContinueDialogId,
            "",
            {0, 0, 155, 22},
            10,
            dialogStyle::ThinBorder | dialogStyle::Center | dialogStyle::CenterMouse,
            {
                control(id::Ok, Button, "Continue", {48, 12, 59, 9},
                        BsDefPushButton | BsFlat | TabStop),
                control(id::notice::Text, Static, "Text", {1, 2, 154, 9}, SsCenter | Group),
            }};
}

DialogTemplate nextPlayerDialog() {
    using namespace style;
    return {kNextPlayerDialogId,
            "",
            {0, 0, 165, 34},
            10,
            dialogStyle::ThinBorder | dialogStyle::Center,
            {
                control(id::Ok, Button, "OK", {57, 23, 50, 9}, BsDefPushButton | BsFlat | TabStop),
                control(id::nextPlayer::Text, Static, "Next Player , get ready .", {0, 7, 165, 8},
                        SsCenter | Group),
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

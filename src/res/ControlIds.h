#pragma once

// The control ids of every dialog, by dialog. Templates, dialogs and tests all name controls
// through these constants. Some numbers serve in more than one dialog (1029 is a player name in
// one and the file name in another), so each dialog has a namespace of its own.

namespace kf::id {

// Command buttons that every dialog understands.
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
// A template control that the code never addresses.
inline constexpr int None = -1;

// The main window.
namespace main {
inline constexpr int LoadLevel = 1001;
inline constexpr int Time = 1006;
inline constexpr int Board = 1008;
inline constexpr int DotStyle = 1009;
inline constexpr int LineStyle = 1010;
inline constexpr int Redraw = 1012;
inline constexpr int Distance = 1013;
inline constexpr int Speed = 1014;
inline constexpr int BestName = 1018;
inline constexpr int BestTime = 1020;
inline constexpr int BestLabel = 1022;
inline constexpr int Go = 1023;
inline constexpr int CreateLevel = 1025;
inline constexpr int Multiplayer = 1038;
inline constexpr int Logo = 1072;
inline constexpr int HiddenPicture = 1073;
inline constexpr int HiddenStatic = 1076;
} // namespace main

// The player names, top to bottom on the screen.
namespace names {
inline constexpr int Name1 = 1029;
inline constexpr int Name2 = 1031;
inline constexpr int Name3 = 1030;
inline constexpr int Name4 = 1032;
inline constexpr int Name5 = 1033;
} // namespace names

// The new-record box.
namespace newRecord {
inline constexpr int Name = 1017;
} // namespace newRecord

// The level creator.
namespace creator {
inline constexpr int HiddenPicture = 1075;
inline constexpr int Logo = 1074;
inline constexpr int Walls = 1026;
inline constexpr int Start = 1027;
inline constexpr int Finish = 1028;
inline constexpr int Eraser = 1032;
inline constexpr int BrushSize = 1091;
inline constexpr int FileName = 1029;
inline constexpr int Save = 1021;
} // namespace creator

// The multiplayer set-up.
namespace multiplayer {
inline constexpr int StartNow = 1042;
inline constexpr int WinnerExtraPoint = 1034;
inline constexpr int CancelSetup = 1021;
inline constexpr int PlayerFlag1 = 1066;
inline constexpr int PlayerFlag2 = 1069;
inline constexpr int PlayerFlag3 = 1068;
inline constexpr int PlayerFlag4 = 1067;
inline constexpr int PlayerFlag5 = 1079;
inline constexpr int PlayersText = 1080;
inline constexpr int RoundsText = 1070;
inline constexpr int RoundFlag1 = 1081;
inline constexpr int RoundFlag2 = 1082;
inline constexpr int RoundFlag3 = 1083;
inline constexpr int RoundFlag4 = 1084;
inline constexpr int RoundFlag5 = 1085;
inline constexpr int SpecifyNames = 1033;
} // namespace multiplayer

// The scoreboard: one row per player, top to bottom.
namespace scoreboard {
inline constexpr int Name1 = 1046;
inline constexpr int Name2 = 1047;
inline constexpr int Name3 = 1048;
inline constexpr int Name4 = 1049;
inline constexpr int Name5 = 1050;
inline constexpr int Points1 = 1051;
inline constexpr int Points2 = 1052;
inline constexpr int Points3 = 1053;
inline constexpr int Points4 = 1054;
inline constexpr int Points5 = 1055;
inline constexpr int Time1 = 1056;
inline constexpr int Time2 = 1057;
inline constexpr int Time3 = 1058;
inline constexpr int Time4 = 1059;
inline constexpr int Time5 = 1060;
} // namespace scoreboard

// The notice box.
namespace notice {
inline constexpr int Text = 1077;
} // namespace notice

// The next-player box.
namespace nextPlayer {
inline constexpr int Text = 1078;
} // namespace nextPlayer

} // namespace kf::id

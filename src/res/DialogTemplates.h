#pragma once

#include "res/DialogTemplate.h"

#include <vector>

namespace kf {

// Resource ids of the eight dialogs.
inline constexpr int kMainDialogId = 102;
inline constexpr int kPlayerNamesDialogId = 103;
inline constexpr int kNewRecordDialogId = 144;
inline constexpr int kLevelCreatorDialogId = 156;
inline constexpr int kMultiplayerDialogId = 185;
inline constexpr int kScoreboardDialogId = 190;
inline constexpr int kContinueDialogId = 207;
inline constexpr int kNextPlayerDialogId = 208;

// The template of one dialog; every id above has one. An unknown id is a programming error.
const DialogTemplate& dialogTemplate(int id);
// All eight templates, in resource id order.
const std::vector<const DialogTemplate*>& allDialogTemplates();

} // namespace kf

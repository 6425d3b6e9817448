#include "match/NextPlayerDialog.h"

#include "res/ControlIds.h"
#include "res/DialogTemplates.h"

namespace kf {

NextPlayerDialog::NextPlayerDialog(QWidget* parent)
    : ContinueDialog(kNextPlayerDialogId, id::nextPlayer::Text, parent) {}

} // namespace kf

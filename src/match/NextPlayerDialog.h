#pragma once

#include "toolkit/ContinueDialog.h"

namespace kf {

// The match's one-line box with an OK button, centred on the screen: who runs next, or that
// the first player may choose the next level. It shows exactly the text it is given.
class NextPlayerDialog : public ContinueDialog {
    Q_OBJECT
public:
    explicit NextPlayerDialog(QWidget* parent = nullptr);
};

} // namespace kf

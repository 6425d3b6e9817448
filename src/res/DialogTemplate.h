#pragma once

#include "res/ControlIds.h"

#include <cstdint>
#include <vector>

namespace kf {

// A rectangle in dialog units: x, y, width, height as the template gives them.
struct DuRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

enum class ControlClass { Static, Button, Edit, Trackbar };

// Control styles as bit flags. A control is visible and enabled unless Hidden or Disabled.
namespace style {
enum : std::uint32_t {
    Hidden = 1u << 0,
    Disabled = 1u << 1,
    Group = 1u << 2,
    TabStop = 1u << 3,
    // statics
    SsLeft = 1u << 4,
    SsCenter = 1u << 5,
    SsBitmap = 1u << 6,
    SsNotify = 1u << 7,
    SsRealSizeImage = 1u << 8,
    SsCenterImage = 1u << 9,
    SsBlackFrame = 1u << 10,
    // buttons
    BsOwnerDraw = 1u << 11,
    BsFlat = 1u << 12,
    BsDefPushButton = 1u << 13,
    BsAutoRadioButton = 1u << 14,
    BsAutoCheckBox = 1u << 15,
    BsGroupBox = 1u << 16,
    BsMultiline = 1u << 17,
    // edits
    EsCenter = 1u << 18,
    EsRight = 1u << 19,
    EsAutoHScroll = 1u << 20,
    Border = 1u << 21,
    // extended styles
    ExTransparent = 1u << 22,
    ExRight = 1u << 23,
    ExDlgModalFrame = 1u << 24,
    // trackbar
    TbsAutoTicks = 1u << 25,
    TbsBoth = 1u << 26,
};
} // namespace style

// Styles of a dialog window itself.
namespace dialogStyle {
enum : std::uint32_t {
    Caption = 1u << 0,     // title bar with the caption text
    SysMenu = 1u << 1,     // close box
    MinimizeBox = 1u << 2, // minimise box
    ModalFrame = 1u << 3,
    AppWindow = 1u << 4,   // shown in the taskbar
    ThinBorder = 1u << 5,  // pop-up with a thin border and no caption
    Borderless = 1u << 6,  // pop-up without border or caption
    Center = 1u << 7,      // centred on the screen
    CenterMouse = 1u << 8, // centred on the mouse pointer
};
} // namespace dialogStyle

struct ControlTemplate {
    int id = id::None;
    ControlClass cls = ControlClass::Static;
    const char* text = ""; // template text; empty when none
    int picture = 0;       // bitmap resource shown by an SsBitmap static; 0 when none
    DuRect rect;
    std::uint32_t styles = 0;
};

struct DialogTemplate {
    int id = 0;
    const char* caption = ""; // empty for dialogs without a caption
    DuRect rect;              // position and size of the client area in dialog units
    int fontPointSize = 8;
    std::uint32_t styles = 0;
    std::vector<ControlTemplate> controls; // in template order (tab and focus order)
};

} // namespace kf

// Dialog templates as data: each dialog listed control by control in template order, with rectangles in
// dialog units. The template order is also the tab order, and a radio group runs from a control that
// starts a group (kGroup) to the next one; a group whose first radio is a tab stop takes one tab stop.
//
// Example: kCheckerControls[0] is {1, DefPushButton, "START", kTabStop, {279, 267, 35, 14}}.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace pomelak {

inline constexpr int kNoId = -1;

enum class ControlKind {
    PushButton,
    DefPushButton,
    AutoCheckBox,
    AutoRadioButton,
    GroupBox,
    StaticText,
    StaticIcon,
    Edit,
    ListView,
};

// Style bits of the controls. The builder acts on kGroup, kTabStop, kCenter, kSunken and kBorder; Qt's
// labels, line edits and tables already behave as kNoPrefix, kAutoHScroll and kShowSelAlways ask.
inline constexpr std::uint32_t kGroup = 1U << 0;    // starts a radio group
inline constexpr std::uint32_t kTabStop = 1U << 1;  // reached by Tab
inline constexpr std::uint32_t kCenter = 1U << 2;   // centred static text
inline constexpr std::uint32_t kSunken = 1U << 3;   // sunken frame
inline constexpr std::uint32_t kNoPrefix = 1U << 4; // "&" is shown, not taken for a mnemonic
inline constexpr std::uint32_t kBorder = 1U << 5;   // bordered edit or list
inline constexpr std::uint32_t kAutoHScroll =
    1U << 6; // an edit scrolls sideways instead of stopping at its width
inline constexpr std::uint32_t kShowSelAlways = 1U << 7; // a list keeps showing its selection without focus

struct DialogRect {
    int x;
    int y;
    int width;
    int height;
};

struct ControlTemplate {
    int id;
    ControlKind kind;
    std::string_view text;
    std::uint32_t style;
    DialogRect rect;
};

struct DialogTemplate {
    int id;
    std::string_view caption;
    DialogRect rect;
    std::string_view fontFamily;
    int pointSize;
    std::span<const ControlTemplate> controls;
};

// The template of one of the dialog ids in resource_ids.h; nullptr for any other id.
const DialogTemplate* findDialogTemplate(int id);

} // namespace pomelak

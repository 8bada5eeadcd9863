// What assistive technology (a screen reader, a magnifier, a test driving the desktop)
// is told of forms and controls: each one's role, name, description, text, access key,
// actions, states and place on the screen, and the whole tree as text. Plain C++: a
// bridge to the desktop's accessibility bus reads these, and tests read the text.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "xpkit/platform/Win32Types.h"

namespace xpkit {

class Form;
class UserControl;

enum class AccessibleRole { Application, Frame, Alert, Panel, Heading, PushButton, Label, Separator };
const char* RoleName(AccessibleRole role);  // "push button", as the accessibility bus names it

// States, as a set of bits.
enum AccessibleState : std::uint32_t {
  kStateEnabled = 1u << 0,
  kStateSensitive = 1u << 1,
  kStateFocusable = 1u << 2,
  kStateFocused = 1u << 3,
  kStateShowing = 1u << 4,
  kStateVisible = 1u << 5,
  kStateActive = 1u << 6,  // a form: the window with the keyboard focus
  kStateModal = 1u << 7,   // a form: a dialog that blocks its owner
};
std::string StateNames(std::uint32_t states);  // "enabled focusable ...", in bit order

struct Accessible {
  AccessibleRole role = AccessibleRole::Panel;
  std::u16string name;
  std::u16string description;
  std::u16string text;        // what reading the node as text gives; empty: it has no text
  std::u16string keyBinding;  // "Alt+O"
  std::vector<std::string> actions;  // "click"
};

// Where a form's client area is on the screen, and how large its pixels are shown.
struct ScreenPlace {
  POINT clientOrigin{};
  int scale = 1;
};

// A caption as a name: each "&" that marks an access key removed, "&&" read as "&".
std::u16string WithoutAccessMark(const std::u16string& caption);
// The key binding of a control's access keys: "Alt+O" for "o"; empty for none.
std::u16string AccessKeyBinding(const std::u16string& accessKeys);

// The form the control lies on; nullptr while it is in none.
Form* FormOf(const UserControl& control);

std::uint32_t StatesOf(const UserControl& control);
// `active`: the form's window has the keyboard focus.
std::uint32_t StatesOf(const Form& form, bool active);
// Screen pixels: the control's window within its form, enlarged and moved by `place`.
RECT ExtentsOf(const UserControl& control, const ScreenPlace& place);
RECT ExtentsOf(const Form& form, const ScreenPlace& place);

// The form and its controls, one a line, each indented by its depth: role, "name",
// "description" when there is one, [states], extents as x,y wxh, then the key binding
// and (actions) when there are any. Line shapes are left out: they only decorate.
std::string AccessibleTree(const Form& form, const ScreenPlace& place, bool active = false);

}  // namespace xpkit

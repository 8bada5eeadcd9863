#include "xpkit/host/Accessible.h"

#include <sstream>

#include "xpkit/codepage/Utf.h"
#include "xpkit/host/Backend.h"
#include "xpkit/host/Form.h"
#include "xpkit/host/Host.h"
#include "xpkit/host/UserControl.h"
#include "xpkit/platform/Session.h"

namespace xpkit {

const char* RoleName(AccessibleRole role) {
  switch (role) {
    case AccessibleRole::Application: return "application";
    case AccessibleRole::Frame: return "frame";
    case AccessibleRole::Alert: return "alert";
    case AccessibleRole::Panel: return "panel";
    case AccessibleRole::Heading: return "heading";
    case AccessibleRole::PushButton: return "push button";
    case AccessibleRole::Label: return "label";
    case AccessibleRole::Separator: return "separator";
  }
  return "unknown";
}

std::string StateNames(std::uint32_t states) {
  static constexpr const char* kNames[] = {"enabled", "sensitive", "focusable", "focused", "showing",
                                           "visible", "active",    "modal"};
  std::string out;
  for (std::size_t i = 0; i < std::size(kNames); ++i) {
    if (!(states & (1u << i))) continue;
    if (!out.empty()) out += ' ';
    out += kNames[i];
  }
  return out;
}

std::u16string WithoutAccessMark(const std::u16string& caption) {
  std::u16string out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && i + 1 < caption.size()) ++i;  // "&x" is x, "&&" is "&"
    out += caption[i];
  }
  return out;
}

std::u16string AccessKeyBinding(const std::u16string& accessKeys) {
  if (accessKeys.empty()) return {};
  const char16_t k = accessKeys.front();
  return u"Alt+" + std::u16string(1, k >= u'a' && k <= u'z' ? static_cast<char16_t>(k - 32) : k);
}

Form* FormOf(const UserControl& control) {
  Container* c = control.Parent();
  while (auto* u = dynamic_cast<UserControl*>(c)) c = u->Parent();
  return dynamic_cast<Form*>(c);
}

namespace {

// Shown: the control and every control it lies in are visible, on a form that is shown.
bool Showing(const UserControl& control) {
  const Container* c = &control;
  while (const auto* u = dynamic_cast<const UserControl*>(c)) {
    if (!u->Visible()) return false;
    c = u->Parent();
  }
  const auto* form = dynamic_cast<const Form*>(c);
  return form && form->Shown();
}

RECT Scaled(RECT r, POINT origin, const ScreenPlace& place) {
  const LONG s = place.scale;
  return {place.clientOrigin.x + (r.left - origin.x) * s, place.clientOrigin.y + (r.top - origin.y) * s,
          place.clientOrigin.x + (r.right - origin.x) * s, place.clientOrigin.y + (r.bottom - origin.y) * s};
}

POINT ClientOrigin(const Form& form) {
  POINT origin{0, 0};
  form.session().user().ClientToScreen(form.hWnd(), &origin);
  return origin;
}

void WriteNode(std::ostringstream& out, int depth, const Accessible& a, std::uint32_t states, const RECT& r) {
  out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << RoleName(a.role) << " \"" << ToUtf8(a.name) << '"';
  if (!a.description.empty()) out << " \"" << ToUtf8(a.description) << '"';
  out << " [" << StateNames(states) << "] " << r.left << ',' << r.top << ' ' << r.right - r.left << 'x'
      << r.bottom - r.top;
  if (!a.keyBinding.empty()) out << ' ' << ToUtf8(a.keyBinding);
  for (const std::string& action : a.actions) out << " (" << action << ')';
  out << '\n';
}

}  // namespace

ScreenPlace Backend::PlaceOf(const Form& form) const { return {ClientOrigin(form), 1}; }

std::uint32_t StatesOf(const UserControl& control) {
  std::uint32_t s = 0;
  if (control.HostEnabled()) s |= kStateEnabled | kStateSensitive;
  if (control.CanGetFocus() && control.TabStop) s |= kStateFocusable;
  if (control.host().Focused() == &control) s |= kStateFocused;
  if (control.Visible()) s |= kStateVisible;
  if (Showing(control)) s |= kStateShowing;
  return s;
}

std::uint32_t StatesOf(const Form& form, bool active) {
  std::uint32_t s = kStateEnabled | kStateSensitive;
  if (form.Shown()) s |= kStateShowing | kStateVisible;
  if (active) s |= kStateActive;
  if (form.Describe().role == AccessibleRole::Alert) s |= kStateModal;
  return s;
}

RECT ExtentsOf(const UserControl& control, const ScreenPlace& place) {
  RECT r{};
  control.session().user().GetWindowRect(control.hWnd(), &r);
  const Form* form = FormOf(control);
  return Scaled(r, form ? ClientOrigin(*form) : POINT{r.left, r.top}, place);
}

RECT ExtentsOf(const Form& form, const ScreenPlace& place) {
  return Scaled({0, 0, form.ClientWidthPx(), form.ClientHeightPx()}, {0, 0}, place);
}

std::string AccessibleTree(const Form& form, const ScreenPlace& place, bool active) {
  std::ostringstream out;
  WriteNode(out, 0, form.Describe(), StatesOf(form, active), ExtentsOf(form, place));
  form.ForEachControl([&](UserControl& c, int depth) {
    WriteNode(out, depth, c.Accessibility(), StatesOf(c), ExtentsOf(c, place));
    return true;
  });
  return out.str();
}

}  // namespace xpkit

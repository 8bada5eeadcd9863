#include "xpkit/accessibility/atk/AtkBridge.h"

#include <atk-bridge.h>
#include <atk/atk.h>

#include <algorithm>
#include <vector>

#include "xpkit/accessibility/atk/detail/AtkTree.h"
#include "xpkit/accessibility/atk/detail/BusProbe.h"
#include "xpkit/host/Form.h"
#include "xpkit/host/Host.h"
#include "xpkit/host/UserControl.h"

namespace xpkit {
namespace {

// ATK asks for the application's root through a function without context, for the
// whole process: it is kept here while a bridge lives.
AtkObject* g_atkRoot = nullptr;

constexpr int kMostDispatchesPerServe = 64;

AtkObject* RootOfProcess() { return g_atkRoot; }
const gchar* ToolkitName() { return "xpkit"; }
const gchar* ToolkitVersion() { return XPKIT_VERSION; }

guint IndexOf(const UserControl& control) { return static_cast<guint>(atk::IndexInContainer(control)); }

}  // namespace

std::unique_ptr<AtkBridge> AtkBridge::StartIfWanted(Host& host) {
  return atk::AccessibilityWanted() ? std::make_unique<AtkBridge>(host) : nullptr;
}

AtkBridge::AtkBridge(Host& host) : host_(host), tree_(std::make_unique<atk::AtkTree>(host)) {
  g_atkRoot = tree_->Root();
  auto* util = ATK_UTIL_CLASS(g_type_class_ref(ATK_TYPE_UTIL));
  util->get_root = RootOfProcess;
  util->get_toolkit_name = ToolkitName;
  util->get_toolkit_version = ToolkitVersion;
  host_.AddObserver(*this);
  atk_bridge_adaptor_init(nullptr, nullptr);
}

AtkBridge::~AtkBridge() {
  host_.RemoveObserver(*this);
  atk_bridge_adaptor_cleanup();
  tree_.reset();
  g_atkRoot = nullptr;
}

void AtkBridge::Serve() {
  for (int i = 0; i < kMostDispatchesPerServe && g_main_context_iteration(nullptr, FALSE); ++i) {
  }
  tree_->RunActions();
}

void AtkBridge::Wait(int fd, int timeoutMs) {
  // GLib's own iteration, with `fd` among what it polls: prepare, query, poll, check,
  // dispatch.
  GMainContext* context = g_main_context_default();
  if (!g_main_context_acquire(context)) return;
  gint priority = 0;
  g_main_context_prepare(context, &priority);
  std::vector<GPollFD> fds(8);
  gint glibTimeout = -1;
  gint n = g_main_context_query(context, priority, &glibTimeout, fds.data(), static_cast<gint>(fds.size()));
  if (n > static_cast<gint>(fds.size())) {
    fds.resize(static_cast<std::size_t>(n));
    n = g_main_context_query(context, priority, &glibTimeout, fds.data(), n);
  }
  fds.resize(static_cast<std::size_t>(n));
  fds.push_back({fd, G_IO_IN, 0});
  const int timeout = glibTimeout < 0 ? timeoutMs : timeoutMs < 0 ? glibTimeout : std::min(glibTimeout, timeoutMs);
  g_poll(fds.data(), static_cast<guint>(fds.size()), timeout);
  fds.pop_back();
  if (g_main_context_check(context, priority, fds.data(), n)) g_main_context_dispatch(context);
  g_main_context_release(context);
}

void AtkBridge::FormShown(Form& form) {
  if (tree_->IsShown(form)) return;
  tree_->AddForm(form);
  AtkObject* o = tree_->ObjectFor(form);
  g_signal_emit_by_name(tree_->Root(), "children-changed::add", static_cast<guint>(tree_->Forms().size() - 1), o);
  g_signal_emit_by_name(o, "create");
  atk_object_notify_state_change(o, ATK_STATE_SHOWING, TRUE);
  // A dialog gives its button the focus before it shows: say so now that it can be seen.
  if (UserControl* focused = host_.Focused(); focused && FormOf(*focused) == &form)
    atk_object_notify_state_change(tree_->ObjectFor(*focused), ATK_STATE_FOCUSED, TRUE);
}

void AtkBridge::FormForgotten(Form& form) {
  const int index = tree_->RemoveForm(form);
  if (AtkObject* o = tree_->Existing(&form); o && index >= 0) {
    g_signal_emit_by_name(tree_->Root(), "children-changed::remove", static_cast<guint>(index), o);
    g_signal_emit_by_name(o, "destroy");
  }
  tree_->Forget(&form);
}

void AtkBridge::FormActivated(Form& form, bool active) {
  if (!tree_->IsShown(form)) return;
  AtkObject* o = tree_->ObjectFor(form);
  atk_object_notify_state_change(o, ATK_STATE_ACTIVE, active);
  g_signal_emit_by_name(o, active ? "activate" : "deactivate");
}

void AtkBridge::ControlAdded(UserControl& control) {
  const Form* form = FormOf(control);
  // Without the container's object nobody has asked for its children.
  AtkObject* parent = tree_->Existing(control.Parent());
  if (!form || !tree_->IsShown(*form) || !parent) return;
  g_signal_emit_by_name(parent, "children-changed::add", IndexOf(control), tree_->ObjectFor(control));
}

void AtkBridge::ControlForgotten(UserControl& control) {
  AtkObject* parent = tree_->Existing(control.Parent());
  if (AtkObject* o = tree_->Existing(&control); o && parent)
    g_signal_emit_by_name(parent, "children-changed::remove", IndexOf(control), o);
  tree_->Forget(&control);
}

void AtkBridge::FocusChanged(UserControl* from, UserControl* to) {
  if (AtkObject* o = from ? tree_->Existing(from) : nullptr) atk_object_notify_state_change(o, ATK_STATE_FOCUSED, FALSE);
  const Form* form = to ? FormOf(*to) : nullptr;
  if (form && tree_->IsShown(*form)) atk_object_notify_state_change(tree_->ObjectFor(*to), ATK_STATE_FOCUSED, TRUE);
}

void AtkBridge::PropertyChanged(UserControl& control, std::string_view property) {
  AtkObject* o = tree_->Existing(&control);
  if (!o) return;
  if (property == "Enabled") {
    atk_object_notify_state_change(o, ATK_STATE_ENABLED, control.HostEnabled());
    atk_object_notify_state_change(o, ATK_STATE_SENSITIVE, control.HostEnabled());
    return;
  }
  // Names and descriptions follow captions and descriptions; asking costs nothing.
  g_object_notify(G_OBJECT(o), "accessible-name");
  g_object_notify(G_OBJECT(o), "accessible-description");
}

}  // namespace xpkit

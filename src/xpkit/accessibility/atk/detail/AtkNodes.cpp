#include "xpkit/accessibility/atk/detail/AtkNodes.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "xpkit/accessibility/atk/detail/AtkTree.h"
#include "xpkit/codepage/Utf.h"
#include "xpkit/host/Accessible.h"
#include "xpkit/host/Form.h"
#include "xpkit/host/Host.h"
#include "xpkit/host/UserControl.h"

namespace xpkit::atk {
namespace {

// ---- Instances ----

struct Node {
  AtkObject parent;
  AtkTree* tree;
  Form* form;            // a form's node; null for a control's
  UserControl* control;  // a control's node; both null once defunct
  // What the last get_name, get_description, action name and key binding returned: ATK
  // hands out strings the object keeps.
  gchar* name;
  gchar* description;
  gchar* actionName;
  gchar* keyBinding;
};
struct NodeClass {
  AtkObjectClass parent;
};
struct Root {
  AtkObject parent;
  AtkTree* tree;
  gchar* name;
};
struct RootClass {
  AtkObjectClass parent;
};

Node* AsNode(gpointer p) { return reinterpret_cast<Node*>(p); }
Root* AsRoot(gpointer p) { return reinterpret_cast<Root*>(p); }

// The class both the application and the nodes derive from, whose finalize they end with.
GObjectClass* AtkObjectBase() { return G_OBJECT_CLASS(g_type_class_peek(ATK_TYPE_OBJECT)); }

gchar* Keep(gchar*& slot, const std::string& text) {
  g_free(slot);
  slot = g_strdup(text.c_str());
  return slot;
}

bool Describe(const Node* n, Accessible& a) {
  if (n->form) a = n->form->Describe();
  else if (n->control) a = n->control->Accessibility();
  else return false;
  return true;
}

AtkRole RoleOf(AccessibleRole role) {
  switch (role) {
    case AccessibleRole::Application: return ATK_ROLE_APPLICATION;
    case AccessibleRole::Frame: return ATK_ROLE_FRAME;
    case AccessibleRole::Alert: return ATK_ROLE_ALERT;
    case AccessibleRole::Panel: return ATK_ROLE_PANEL;
    case AccessibleRole::Heading: return ATK_ROLE_HEADING;
    case AccessibleRole::PushButton: return ATK_ROLE_PUSH_BUTTON;
    case AccessibleRole::Label: return ATK_ROLE_LABEL;
    case AccessibleRole::Separator: return ATK_ROLE_SEPARATOR;
  }
  return ATK_ROLE_UNKNOWN;
}

const std::vector<std::unique_ptr<UserControl>>* ChildrenOf(const Node* n) {
  if (n->form) return &n->form->controls();
  if (n->control) return &n->control->controls();
  return nullptr;
}

const Form* NodeForm(const Node* n) { return n->form ? n->form : n->control ? FormOf(*n->control) : nullptr; }

// ---- AtkObject ----

const gchar* NodeName(AtkObject* o) {
  Node* n = AsNode(o);
  Accessible a;
  return Describe(n, a) ? Keep(n->name, ToUtf8(a.name)) : nullptr;
}

const gchar* NodeDescription(AtkObject* o) {
  Node* n = AsNode(o);
  Accessible a;
  return Describe(n, a) ? Keep(n->description, ToUtf8(a.description)) : nullptr;
}

AtkRole NodeRole(AtkObject* o) {
  Accessible a;
  return Describe(AsNode(o), a) ? RoleOf(a.role) : ATK_ROLE_UNKNOWN;
}

gint NodeChildCount(AtkObject* o) {
  const auto* children = ChildrenOf(AsNode(o));
  return children ? static_cast<gint>(children->size()) : 0;
}

AtkObject* NodeChild(AtkObject* o, gint i) {
  Node* n = AsNode(o);
  const auto* children = ChildrenOf(n);
  if (!children || i < 0 || static_cast<std::size_t>(i) >= children->size()) return nullptr;
  return ATK_OBJECT(g_object_ref(n->tree->ObjectFor(*(*children)[static_cast<std::size_t>(i)])));
}

gint NodeIndexInParent(AtkObject* o) {
  const Node* n = AsNode(o);
  if (n->form) return n->tree->IndexOf(*n->form);
  if (!n->control) return -1;
  const std::size_t i = IndexInContainer(*n->control);
  return i < n->control->Parent()->controls().size() ? static_cast<gint>(i) : -1;
}

AtkStateSet* NodeStates(AtkObject* o) {
  const Node* n = AsNode(o);
  AtkStateSet* set = atk_state_set_new();
  if (!n->form && !n->control) {
    atk_state_set_add_state(set, ATK_STATE_DEFUNCT);
    return set;
  }
  const std::uint32_t states =
      n->form ? StatesOf(*n->form, n->tree->host().ActiveForm() == n->form) : StatesOf(*n->control);
  static constexpr std::pair<std::uint32_t, AtkStateType> kStates[] = {
      {kStateEnabled, ATK_STATE_ENABLED}, {kStateSensitive, ATK_STATE_SENSITIVE}, {kStateFocusable, ATK_STATE_FOCUSABLE},
      {kStateFocused, ATK_STATE_FOCUSED}, {kStateShowing, ATK_STATE_SHOWING},     {kStateVisible, ATK_STATE_VISIBLE},
      {kStateActive, ATK_STATE_ACTIVE},   {kStateModal, ATK_STATE_MODAL}};
  for (const auto& [bit, state] : kStates)
    if (states & bit) atk_state_set_add_state(set, state);
  return set;
}

void NodeFinalize(GObject* o) {
  Node* n = AsNode(o);
  g_free(n->name);
  g_free(n->description);
  g_free(n->actionName);
  g_free(n->keyBinding);
  AtkObjectBase()->finalize(o);
}

void NodeClassInit(gpointer klass, gpointer) {
  G_OBJECT_CLASS(klass)->finalize = NodeFinalize;
  AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
  atk->get_name = NodeName;
  atk->get_description = NodeDescription;
  atk->get_role = NodeRole;
  atk->get_n_children = NodeChildCount;
  atk->ref_child = NodeChild;
  atk->get_index_in_parent = NodeIndexInParent;
  atk->ref_state_set = NodeStates;
}

// ---- Component: screen pixels, as the form is shown ----

void NodeExtents(AtkComponent* c, gint* x, gint* y, gint* width, gint* height, AtkCoordType coords) {
  const Node* n = AsNode(c);
  *x = *y = *width = *height = 0;
  const Form* form = NodeForm(n);
  if (!form) return;
  const ScreenPlace place = n->tree->host().backend().PlaceOf(*form);
  const RECT r = n->form ? ExtentsOf(*n->form, place) : ExtentsOf(*n->control, place);
  POINT origin{0, 0};
  if (coords == ATK_XY_WINDOW) {
    origin = place.clientOrigin;
  } else if (coords == ATK_XY_PARENT && n->control) {
    const auto* parent = dynamic_cast<const UserControl*>(n->control->Parent());
    const RECT p = parent ? ExtentsOf(*parent, place) : ExtentsOf(*form, place);
    origin = {p.left, p.top};
  }
  *x = r.left - origin.x;
  *y = r.top - origin.y;
  *width = r.right - r.left;
  *height = r.bottom - r.top;
}

gboolean NodeGrabFocus(AtkComponent* c) {
  const Node* n = AsNode(c);
  if (!n->control || !n->control->CanGetFocus()) return FALSE;
  n->tree->host().SetFocus(n->control);
  return TRUE;
}

void ComponentInit(gpointer iface, gpointer) {
  auto* component = static_cast<AtkComponentIface*>(iface);
  component->get_extents = NodeExtents;
  component->grab_focus = NodeGrabFocus;
}

// ---- Action ----

gint ActionCount(AtkAction* action) {
  Accessible a;
  return Describe(AsNode(action), a) ? static_cast<gint>(a.actions.size()) : 0;
}

gboolean DoAction(AtkAction* action, gint i) {
  Node* n = AsNode(action);
  if (!n->control || i < 0 || i >= ActionCount(action)) return FALSE;
  n->tree->QueueAction(*n->control, i);
  return TRUE;
}

const gchar* ActionName(AtkAction* action, gint i) {
  Node* n = AsNode(action);
  Accessible a;
  if (!Describe(n, a) || i < 0 || static_cast<std::size_t>(i) >= a.actions.size()) return nullptr;
  return Keep(n->actionName, a.actions[static_cast<std::size_t>(i)]);
}

const gchar* ActionKeyBinding(AtkAction* action, gint i) {
  Node* n = AsNode(action);
  Accessible a;
  if (!Describe(n, a) || i != 0) return nullptr;
  return Keep(n->keyBinding, ToUtf8(a.keyBinding));
}

void ActionInit(gpointer iface, gpointer) {
  auto* a = static_cast<AtkActionIface*>(iface);
  a->get_n_actions = ActionCount;
  a->do_action = DoAction;
  a->get_name = ActionName;
  a->get_keybinding = ActionKeyBinding;
}

// ---- Text: offsets count characters ----

std::string TextOf(AtkText* t) {
  Accessible a;
  return Describe(AsNode(t), a) ? ToUtf8(a.text) : std::string();
}

gchar* Substring(const std::string& text, gint start, gint end) {
  const glong count = g_utf8_strlen(text.c_str(), -1);
  if (end < 0 || end > count) end = static_cast<gint>(count);
  start = std::clamp<gint>(start, 0, end);
  return g_utf8_substring(text.c_str(), start, end);
}

gchar* GetText(AtkText* t, gint start, gint end) { return Substring(TextOf(t), start, end); }
gint CharacterCount(AtkText* t) { return static_cast<gint>(g_utf8_strlen(TextOf(t).c_str(), -1)); }
gint CaretOffset(AtkText*) { return -1; }  // no caret: the text is only read

gunichar CharacterAt(AtkText* t, gint offset) {
  const std::string text = TextOf(t);
  if (offset < 0 || offset >= g_utf8_strlen(text.c_str(), -1)) return 0;
  return g_utf8_get_char(g_utf8_offset_to_pointer(text.c_str(), offset));
}

// A character, or the line the offset lies in (every coarser unit is a line here).
gchar* StringAt(AtkText* t, gint offset, AtkTextGranularity granularity, gint* start, gint* end) {
  const std::string text = TextOf(t);
  const gint count = static_cast<gint>(g_utf8_strlen(text.c_str(), -1));
  *start = *end = 0;
  if (offset < 0 || offset >= count) return g_strdup("");
  if (granularity == ATK_TEXT_GRANULARITY_CHAR) {
    *start = offset;
    *end = offset + 1;
    return g_utf8_substring(text.c_str(), *start, *end);
  }
  const char* s = text.c_str();
  const char* at = g_utf8_offset_to_pointer(s, offset);
  const char* lineStart = at;
  while (lineStart > s && lineStart[-1] != '\n') --lineStart;
  const char* newline = std::strchr(at, '\n');
  const char* lineEnd = newline ? newline + 1 : s + text.size();
  *start = static_cast<gint>(g_utf8_pointer_to_offset(s, lineStart));
  *end = static_cast<gint>(g_utf8_pointer_to_offset(s, lineEnd));
  return g_strndup(lineStart, static_cast<gsize>(lineEnd - lineStart));
}

void TextInit(gpointer iface, gpointer) {
  auto* text = static_cast<AtkTextIface*>(iface);
  text->get_text = GetText;
  text->get_character_count = CharacterCount;
  text->get_caret_offset = CaretOffset;
  text->get_character_at_offset = CharacterAt;
  text->get_string_at_offset = StringAt;
}

// ---- Root: the application ----

const gchar* RootName(AtkObject* o) {
  Root* r = AsRoot(o);
  return Keep(r->name, ToUtf8(r->tree->host().AppTitle));
}
gint RootChildCount(AtkObject* o) { return static_cast<gint>(AsRoot(o)->tree->Forms().size()); }
AtkObject* RootChild(AtkObject* o, gint i) {
  AtkTree& tree = *AsRoot(o)->tree;
  if (i < 0 || static_cast<std::size_t>(i) >= tree.Forms().size()) return nullptr;
  return ATK_OBJECT(g_object_ref(tree.ObjectFor(*tree.Forms()[static_cast<std::size_t>(i)])));
}
gint RootIndexInParent(AtkObject*) { return -1; }
AtkRole RootRole(AtkObject*) { return ATK_ROLE_APPLICATION; }

void RootFinalize(GObject* o) {
  g_free(AsRoot(o)->name);
  AtkObjectBase()->finalize(o);
}

void RootClassInit(gpointer klass, gpointer) {
  G_OBJECT_CLASS(klass)->finalize = RootFinalize;
  AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
  atk->get_name = RootName;
  atk->get_n_children = RootChildCount;
  atk->ref_child = RootChild;
  atk->get_index_in_parent = RootIndexInParent;
  atk->get_role = RootRole;
}

// ---- Types ----

GType Register(GType parent, const char* name, guint16 classSize, GClassInitFunc classInit, guint16 instanceSize) {
  const GTypeInfo info{classSize, nullptr, nullptr, classInit, nullptr, nullptr, instanceSize, 0, nullptr, nullptr};
  return g_type_register_static(parent, name, &info, GTypeFlags(0));
}

void Implement(GType type, GType iface, GInterfaceInitFunc init) {
  const GInterfaceInfo info{init, nullptr, nullptr};
  g_type_add_interface_static(type, iface, &info);
}

struct Types {
  GType root, node, window, button, text;
};

// Registered once for the process, as GObject types are.
const Types& NodeTypes() {
  static const Types types = [] {
    Types t;
    t.root = Register(ATK_TYPE_OBJECT, "XpkitAtkApplication", sizeof(RootClass), RootClassInit, sizeof(Root));
    t.node = Register(ATK_TYPE_OBJECT, "XpkitAtkNode", sizeof(NodeClass), NodeClassInit, sizeof(Node));
    Implement(t.node, ATK_TYPE_COMPONENT, ComponentInit);
    t.window = Register(t.node, "XpkitAtkWindow", sizeof(NodeClass), nullptr, sizeof(Node));
    Implement(t.window, ATK_TYPE_WINDOW, nullptr);
    t.button = Register(t.node, "XpkitAtkActionNode", sizeof(NodeClass), nullptr, sizeof(Node));
    Implement(t.button, ATK_TYPE_ACTION, ActionInit);
    t.text = Register(t.node, "XpkitAtkTextNode", sizeof(NodeClass), nullptr, sizeof(Node));
    Implement(t.text, ATK_TYPE_TEXT, TextInit);
    return t;
  }();
  return types;
}

}  // namespace

AtkObject* NewRoot(AtkTree& tree) {
  auto* o = ATK_OBJECT(g_object_new(NodeTypes().root, nullptr));
  AsRoot(o)->tree = &tree;
  return o;
}

AtkObject* NewNode(AtkTree& tree, Form* form, UserControl* control, AtkObject* parent) {
  const Types& types = NodeTypes();
  GType type = types.window;
  if (control) {
    const Accessible a = control->Accessibility();
    type = !a.actions.empty() ? types.button : !a.text.empty() ? types.text : types.node;
  }
  auto* o = ATK_OBJECT(g_object_new(type, nullptr));
  Node* n = AsNode(o);
  n->tree = &tree;
  n->form = form;
  n->control = control;
  atk_object_set_parent(o, parent);
  return o;
}

void MakeDefunct(AtkObject* node) {
  Node* n = AsNode(node);
  n->form = nullptr;
  n->control = nullptr;
  atk_object_notify_state_change(node, ATK_STATE_DEFUNCT, TRUE);
}

}  // namespace xpkit::atk

#include "xpkit/accessibility/atk/detail/AtkTree.h"

#include <algorithm>

#include "xpkit/accessibility/atk/detail/AtkNodes.h"
#include "xpkit/host/Form.h"
#include "xpkit/host/Host.h"
#include "xpkit/host/UserControl.h"

namespace xpkit::atk {

AtkTree::AtkTree(Host& host) : host_(host), root_(NewRoot(*this)) {}

AtkTree::~AtkTree() {
  for (auto& [key, object] : objects_) {
    (void)key;
    MakeDefunct(object);
    g_object_unref(object);
  }
  g_object_unref(root_);
}

int AtkTree::IndexOf(const Form& form) const {
  const auto it = std::find(forms_.begin(), forms_.end(), &form);
  return it == forms_.end() ? -1 : static_cast<int>(it - forms_.begin());
}

int AtkTree::RemoveForm(Form& form) {
  const int index = IndexOf(form);
  if (index >= 0) forms_.erase(forms_.begin() + index);
  return index;
}

AtkObject* AtkTree::ObjectFor(Form& form) {
  if (AtkObject* o = Existing(&form)) return o;
  AtkObject* o = NewNode(*this, &form, nullptr, root_);
  objects_[&form] = o;
  return o;
}

AtkObject* AtkTree::ObjectFor(UserControl& control) {
  if (AtkObject* o = Existing(&control)) return o;
  Container* parent = control.Parent();
  AtkObject* parentObject = nullptr;
  if (auto* c = dynamic_cast<UserControl*>(parent)) parentObject = ObjectFor(*c);
  else if (auto* f = dynamic_cast<Form*>(parent)) parentObject = ObjectFor(*f);
  AtkObject* o = NewNode(*this, nullptr, &control, parentObject);
  objects_[&control] = o;
  return o;
}

AtkObject* AtkTree::Existing(const Container* formOrControl) const {
  const auto it = objects_.find(formOrControl);
  return it == objects_.end() ? nullptr : it->second;
}

void AtkTree::Forget(const Container* formOrControl) {
  std::erase_if(actions_, [&](const auto& a) { return static_cast<const Container*>(a.first) == formOrControl; });
  const auto it = objects_.find(formOrControl);
  if (it == objects_.end()) return;
  AtkObject* object = it->second;
  objects_.erase(it);
  MakeDefunct(object);
  g_object_unref(object);
}

void AtkTree::RunActions() {
  // One at a time: an action may run a modal loop that serves the bus, and so this, again.
  while (!actions_.empty()) {
    const auto [control, index] = actions_.front();
    actions_.erase(actions_.begin());
    host_.DoAccessibleAction(*control, index);
  }
}

std::size_t IndexInContainer(const UserControl& control) {
  const auto& siblings = control.Parent()->controls();
  const auto it = std::find_if(siblings.begin(), siblings.end(), [&](const auto& c) { return c.get() == &control; });
  return static_cast<std::size_t>(it - siblings.begin());
}

}  // namespace xpkit::atk

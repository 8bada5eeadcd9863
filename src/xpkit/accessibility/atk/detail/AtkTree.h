// The ATK objects of a host: the application, its shown forms and their controls. An
// object is made when first asked for and holds its form or control until the host
// forgets that; from then on it is defunct.
#pragma once
#include <atk/atk.h>

#include <cstddef>
#include <unordered_map>
#include <utility>
#include <vector>

namespace xpkit {
class Container;
class Form;
class Host;
class UserControl;
}  // namespace xpkit

namespace xpkit::atk {

class AtkTree {
 public:
  explicit AtkTree(Host& host);
  ~AtkTree();
  AtkTree(const AtkTree&) = delete;
  AtkTree& operator=(const AtkTree&) = delete;

  Host& host() const { return host_; }
  AtkObject* Root() const { return root_; }
  // The shown forms, in the order they were shown: the application's children.
  const std::vector<Form*>& Forms() const { return forms_; }
  void AddForm(Form& form) { forms_.push_back(&form); }
  // Its index among the forms, or -1 when it was not shown.
  int IndexOf(const Form& form) const;
  int RemoveForm(Form& form);
  bool IsShown(const Form& form) const { return IndexOf(form) >= 0; }

  AtkObject* ObjectFor(Form& form);
  AtkObject* ObjectFor(UserControl& control);
  // The object made for a form or control; nullptr when none was made.
  AtkObject* Existing(const Container* formOrControl) const;
  // Drops the object of a form or control, which turns defunct.
  void Forget(const Container* formOrControl);

  // Actions asked for over the bus run later, from RunActions, outside the bus's
  // dispatch: an action may open a modal dialog, which runs a loop of its own.
  void QueueAction(UserControl& control, int index) { actions_.emplace_back(&control, index); }
  void RunActions();

 private:
  Host& host_;
  AtkObject* root_;
  std::vector<Form*> forms_;
  std::unordered_map<const Container*, AtkObject*> objects_;
  std::vector<std::pair<UserControl*, int>> actions_;
};

// The control's index among its container's controls: their count once it has left them,
// as while it is being destroyed (it was the last).
std::size_t IndexInContainer(const UserControl& control);

}  // namespace xpkit::atk

// The GObject types behind the tree: the application, and a node for a form or a
// control with the interfaces its description calls for (Component always; Window for a
// form, Action for a control with actions, Text for one with text).
#pragma once
#include <atk/atk.h>

namespace xpkit {
class Form;
class UserControl;
}  // namespace xpkit

namespace xpkit::atk {

class AtkTree;

AtkObject* NewRoot(AtkTree& tree);
// One of `form` and `control` is set.
AtkObject* NewNode(AtkTree& tree, Form* form, UserControl* control, AtkObject* parent);
// The node no longer stands for anything: it says so (state defunct) and answers empty.
void MakeDefunct(AtkObject* node);

}  // namespace xpkit::atk

#include "xpkit/layout/LayoutForm.h"

#include <new>

#include "xpkit/codepage/Utf.h"
#include "xpkit/host/UserControl.h"
#include "xpkit/layout/LayoutError.h"
#include "xpkit/layout/detail/LayoutBounds.h"

namespace xpkit {

LayoutForm::LayoutForm(Host& host, const Layout& layout) : LayoutForm(host, layout, ControlRegistry()) {}

LayoutForm::LayoutForm(Host& host, const Layout& layout, const ControlRegistry& registry)
    : Form(host, layout.window.name, TwipsToPixels(layout.window.clientWidth),
           TwipsToPixels(layout.window.clientHeight)),
      window_(layout.window) {
  Caption = window_.caption;
  BackColor = window_.backColor;
  if (window_.foreColor) ForeColor = *window_.foreColor;
  if (window_.font) Font = MakeFont(*window_.font);
  Frame = window_.frame;
  for (const auto& item : layout.items) {
    if (const auto* c = std::get_if<ControlLayout>(&item)) Create(layout, registry, *c);
    else Create(layout, std::get<LineLayout>(item));
  }
  DefaultButton = window_.defaultButton.empty() ? nullptr : Find(ToUtf8(window_.defaultButton));
  CancelButton = window_.cancelButton.empty() ? nullptr : Find(ToUtf8(window_.cancelButton));
}

Container& LayoutForm::ParentOf(const Layout& layout, const std::string& name, int line) {
  if (name == Name()) return *this;
  for (const Created& c : created_)
    if (c.control && c.control->Name() == name) return *c.control;
  throw LayoutError(layout.source, line, "unknown parent " + Echo(name));
}

void LayoutForm::Create(const Layout& layout, const ControlRegistry& registry, const ControlLayout& c) {
  const ControlClass* cls = registry.Find(c.classId);
  if (!cls)
    throw LayoutError(layout.source, c.line,
                      "unknown class identifier " + Echo(c.classId) + " (known: " + registry.KnownClasses() + ")");
  Container& parent = ParentOf(layout, c.parent, c.line);
  UserControl* control;
  try {
    control = &cls->create(parent, c.name, c.place, &c.properties);
  } catch (const Error& e) {
    throw LayoutError(layout.source, c.line, "control " + Echo(c.name) + ": " + e.what());
  } catch (const std::bad_alloc&) {
    throw LayoutError(layout.source, c.line, "control " + Echo(c.name) + ": out of memory");
  }
  created_.push_back({control, nullptr, c.parent, c.classId});
}

void LayoutForm::Create(const Layout& layout, const LineLayout& l) {
  LineShape& line = ParentOf(layout, l.parent, l.line).AddLine(l.name);
  line.X1 = l.x1;
  line.Y1 = l.y1;
  line.X2 = l.x2;
  line.Y2 = l.y2;
  line.BorderColor = l.color;
  created_.push_back({nullptr, &line, l.parent, {}});
}

std::string LayoutForm::NotFound(std::string_view name) const {
  std::string message = "window '" + Name() + "' has no control '" + std::string(name) + "' of the class asked for";
  for (const Created& c : created_)
    if (c.control && c.control->Name() == name) return message + " (it is a " + c.classId + ")";
  return Find(name) ? message + " (it has one of another class)" : message;
}

LineShape* LayoutForm::FindLine(std::string_view name) const {
  for (const Created& c : created_)
    if (c.line && c.line->name == name) return c.line;
  return nullptr;
}

Layout LayoutForm::SaveLayout() const {
  Layout out;
  out.window = window_;
  out.window.caption = Caption;
  out.window.backColor = BackColor;
  out.window.frame = Frame;
  // A button the layout did not make is not saved, so it is not named either: the saved
  // layout would not read back.
  const auto saved = [this](const UserControl* button) {
    for (const Created& c : created_)
      if (button && c.control == button) return FromUtf8(button->Name()).value_or(u"");
    return std::u16string();
  };
  out.window.defaultButton = saved(DefaultButton);
  out.window.cancelButton = saved(CancelButton);
  for (const Created& c : created_) {
    if (c.line) {
      out.items.emplace_back(LineLayout{c.line->name, c.parent, c.line->X1, c.line->Y1, c.line->X2, c.line->Y2,
                                        c.line->BorderColor, 0});
      continue;
    }
    ControlLayout s;
    s.name = c.control->Name();
    s.classId = c.classId;
    s.parent = c.parent;
    s.place = c.control->placement();
    s.extentX = TwipsToHimetric(s.place.width);
    s.extentY = TwipsToHimetric(s.place.height);
    c.control->OnWriteProperties(s.properties);
    out.items.emplace_back(std::move(s));
  }
  return out;
}

}  // namespace xpkit

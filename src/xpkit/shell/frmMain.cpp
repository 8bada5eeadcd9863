#include "xpkit/shell/frmMain.h"

#include "xpkit/host/Host.h"

namespace xpkit {

namespace {
constexpr unsigned char kDefaultLayout[] = {
#include "frmMain.layout.inc"
};
}  // namespace

Layout DefaultLayout() {
  return ParseLayout(std::string_view(reinterpret_cast<const char*>(kDefaultLayout), sizeof kDefaultLayout),
                     "frmMain.layout");
}

frmMain::frmMain(Host& host, const Layout& layout)
    : LayoutForm(host, layout),
      Header(FindControl<XPHeader>("Header")),
      Footer(FindControl<XPHeader>("Footer")),
      cmdExit(FindControl<XPButton>("cmdExit")),
      Line1(FindLine("Line1")) {
  if (cmdExit) cmdExit->Click.Connect([this] { this->host().End(); });
}

}  // namespace xpkit

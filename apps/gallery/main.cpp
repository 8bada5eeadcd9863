// xpkit-gallery: renders the kit's controls headless into PNG files.
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "xpkit/codepage/CodePage.h"
#include "xpkit/codepage/Utf.h"
#include "xpkit/platform/text/TextLimits.h"
#include "common/Args.h"
#include "gallery/Gallery.h"

namespace {

constexpr const char* kUsage = R"(usage:
  xpkit-gallery gradient --size WxH --angle A [--color1 RRGGBB] [--color2 RRGGBB] -o FILE.png
  xpkit-gallery header --size WxH [--caption T] [--description D] [--border-style N] -o FILE.png
  xpkit-gallery button [--size WxH] [--look LOOK] [--caption T] [--font FACE] [--font-size PT] -o FILE.png
  xpkit-gallery msgbox --text T [--caption C] -o FILE.png
  xpkit-gallery --help

Renders one control of the kit, without a display, into a PNG file.
  gradient   a client area of W x H filled by the gradient painter
             (defaults: colour 1 D0FFFF, colour 2 000040, as the painter has them)
  header     one loaded banner with its two edge lines, as its host composes it
  button     one button in LOOK: normal, hover, focus, pressed or disabled; the
             corner pixels outside its window are transparent
             (defaults: the main window's Exit button, 106x22, Tahoma 8.25 pt)
  msgbox     the kit's message box with text T, its OK button focused, in a
             picture of a tool-window frame with caption C (default: xpkit)
Colours are RRGGBB in hex. Texts are UTF-8; they reach the controls through the
system ANSI code page (XPKIT_CODEPAGE, 1256 by default).
)";

// The usage's last lines: the bounds on what the gallery accepts.
std::string Limits() {
  return "Pictures are at most " + std::to_string(xpkit::kMaxSide) + " pixels a side and " +
         std::to_string(xpkit::kMaxPixels) + " pixels in all; texts are at most\n" +
         std::to_string(xpkit::kMaxText) + " characters long, and face names " + std::to_string(xpkit::kMaxFaceName) +
         ".\n";
}

using xpkit::cli::Quoted;
using xpkit::cli::UsageError;

// --name value pairs after the subcommand; every option takes a value.
std::map<std::string, std::string> Options(int argc, char** argv, const std::vector<std::string>& known) {
  std::map<std::string, std::string> out;
  for (int i = 2; i < argc; ++i) {
    const std::string name = argv[i];
    bool ok = false;
    for (const auto& k : known) ok = ok || k == name;
    if (!ok) throw UsageError("unknown option " + Quoted(name) + " for '" + argv[1] + "'");
    if (i + 1 >= argc) throw UsageError("option '" + name + "' needs a value");
    if (out.count(name)) throw UsageError("option '" + name + "' given twice");
    out[name] = argv[++i];
  }
  return out;
}

const std::string& Required(const std::map<std::string, std::string>& o, const std::string& name) {
  auto it = o.find(name);
  if (it == o.end()) throw UsageError("missing " + name);
  return it->second;
}

// The -o file name.
const std::string& Output(const std::map<std::string, std::string>& o) {
  const std::string& file = Required(o, "-o");
  if (file.empty()) throw UsageError("a file name is empty");
  return file;
}

void Size(const std::map<std::string, std::string>& o, int& w, int& h) {
  const std::string& v = Required(o, "--size");
  if (!xpkit::cli::ParseSize(v, w, h, xpkit::kMaxSide))
    throw UsageError("--size must be WxH with sides 1 to " + std::to_string(xpkit::kMaxSide) + ", not " + Quoted(v));
  if (!xpkit::FitsPicture(w, h))
    throw UsageError("--size must be at most " + std::to_string(xpkit::kMaxPixels) + " pixels in all, not " + Quoted(v));
}

// A text option, or with `limit` and `kind` the face name: at most that many characters.
std::u16string Text(const std::map<std::string, std::string>& o, const std::string& name,
                    std::size_t limit = xpkit::kMaxText, const char* kind = "text") {
  const auto t = xpkit::FromUtf8(o.at(name));
  if (!t) throw UsageError(name + " is not valid UTF-8");
  if (const std::string why = xpkit::TooLong(*t, limit, kind); !why.empty()) throw UsageError(name + " " + why);
  return *t;
}

int Gradient(int argc, char** argv) {
  const auto o = Options(argc, argv, {"--size", "--angle", "--color1", "--color2", "-o"});
  xpkit::GradientRequest r;
  Size(o, r.width, r.height);
  const std::string& angle = Required(o, "--angle");
  if (!xpkit::cli::ParseFloat(angle, r.angle)) throw UsageError("--angle must be a number, not " + Quoted(angle));
  for (const char* name : {"--color1", "--color2"}) {
    if (!o.count(name)) continue;
    std::uint32_t c;
    if (!xpkit::cli::ParseRgbHex(o.at(name), c)) throw UsageError(std::string(name) + " must be RRGGBB, not " + Quoted(o.at(name)));
    (name[7] == '1' ? r.color1 : r.color2) = c;
  }
  xpkit::WritePng(xpkit::RenderGradient(r), Output(o));
  return 0;
}

int Header(int argc, char** argv) {
  const auto o = Options(argc, argv, {"--size", "--caption", "--description", "--border-style", "-o"});
  xpkit::HeaderRequest r;
  Size(o, r.width, r.height);
  if (o.count("--caption")) r.caption = Text(o, "--caption");
  if (o.count("--description")) r.description = Text(o, "--description");
  if (o.count("--border-style")) {
    long long n;
    if (!xpkit::cli::ParseInt(o.at("--border-style"), n) || n < INT32_MIN || n > INT32_MAX)
      throw UsageError("--border-style must be a 32-bit integer, not " + Quoted(o.at("--border-style")));
    r.borderStyle = static_cast<std::int32_t>(n);
  }
  xpkit::WritePng(xpkit::RenderHeader(r), Output(o));
  return 0;
}

int Button(int argc, char** argv) {
  const auto o = Options(argc, argv, {"--size", "--look", "--caption", "--font", "--font-size", "-o"});
  xpkit::ButtonRequest r;
  if (o.count("--size")) Size(o, r.width, r.height);
  if (o.count("--look")) {
    const auto look = xpkit::ParseButtonLook(o.at("--look"));
    if (!look) throw UsageError("--look must be normal, hover, focus, pressed or disabled, not " + Quoted(o.at("--look")));
    r.look = *look;
  }
  if (o.count("--caption")) r.caption = Text(o, "--caption");
  if (o.count("--font")) r.fontFace = Text(o, "--font", xpkit::kMaxFaceName, "face name");
  if (o.count("--font-size")) {
    float pt;
    if (!xpkit::cli::ParseFloat(o.at("--font-size"), pt) || !(pt >= 1 && pt <= 400))
      throw UsageError("--font-size must be a number of points from 1 to 400, not " + Quoted(o.at("--font-size")));
    r.fontSize = pt;
  }
  xpkit::WritePng(xpkit::RenderButton(r), Output(o));
  return 0;
}

int MsgBox(int argc, char** argv) {
  const auto o = Options(argc, argv, {"--text", "--caption", "-o"});
  xpkit::MsgBoxRequest r;
  Required(o, "--text");
  r.text = Text(o, "--text");
  if (o.count("--caption")) r.caption = Text(o, "--caption");
  xpkit::WritePng(xpkit::RenderMsgBox(r), Output(o));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return xpkit::cli::RunTool("xpkit-gallery", [&] {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "--help" || command == "-h" || command == "help") {
      return xpkit::cli::PrintUsage((kUsage + Limits()).c_str());
    }
    if (command == "gradient") return Gradient(argc, argv);
    if (command == "header") return Header(argc, argv);
    if (command == "button") return Button(argc, argv);
    if (command == "msgbox") return MsgBox(argc, argv);
    throw UsageError(command.empty() ? "no command given" : "unknown command " + Quoted(command));
  });
}

// xpkit-gallery: renders the kit's controls headless into PNG files.
#include <cstdio>
#include <algorithm>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "xpkit/codepage/CodePage.h"
#include "xpkit/codepage/Utf.h"
#include "xpkit/platform/text/TextLimits.h"
#include "common/Args.h"
#include "common/Options.h"
#include "gallery/Gallery.h"

namespace {

constexpr const char* kUsage = R"(usage:
  xpkit-gallery gradient --size WxH --angle A [--color1 RRGGBB] [--color2 RRGGBB] -o FILE.png
  xpkit-gallery header --size WxH [--caption T] [--description D] [--border-style N] -o FILE.png
  xpkit-gallery button [--size WxH] [--look LOOK] [--caption T] [--font FACE] [--font-size PT] -o FILE.png
  xpkit-gallery msgbox --text T [--caption C] -o FILE.png
  xpkit-gallery --help | --version

Renders one control of the kit, without a display, into a PNG file. Every
subcommand also takes --help and --version.
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

// The options after the subcommand; every one takes a value.
using Options = xpkit::cli::CommandLine;

const std::string& Required(const Options& o, const std::string& name) {
  const std::string* value = o.Find(name);
  if (!value) throw UsageError("missing " + name);
  return *value;
}

void Size(const Options& o, int& w, int& h) {
  const std::string& v = Required(o, "--size");
  if (!xpkit::cli::ParseSize(v, w, h, xpkit::kMaxSide))
    throw UsageError("--size must be WxH with sides 1 to " + std::to_string(xpkit::kMaxSide) + ", not " + Quoted(v));
  if (!xpkit::FitsPicture(w, h))
    throw UsageError("--size must be at most " + std::to_string(xpkit::kMaxPixels) + " pixels in all, not " + Quoted(v));
}

// A text option, or with `limit` and `kind` the face name: at most that many characters.
std::u16string Text(const Options& o, const std::string& name,
                    std::size_t limit = xpkit::kMaxText, const char* kind = "text") {
  const auto t = xpkit::FromUtf8(Required(o, name));
  if (!t) throw UsageError(name + " is not valid UTF-8");
  if (const std::string why = xpkit::TooLong(*t, limit, kind); !why.empty()) throw UsageError(name + " " + why);
  return *t;
}

int Gradient(const Options& o) {
  xpkit::GradientRequest r;
  Size(o, r.width, r.height);
  const std::string& angle = Required(o, "--angle");
  if (!xpkit::cli::ParseFloat(angle, r.angle)) throw UsageError("--angle must be a number, not " + Quoted(angle));
  for (const char* name : {"--color1", "--color2"}) {
    const std::string* value = o.Find(name);
    if (!value) continue;
    std::uint32_t c;
    if (!xpkit::cli::ParseRgbHex(*value, c)) throw UsageError(std::string(name) + " must be RRGGBB, not " + Quoted(*value));
    (name[7] == '1' ? r.color1 : r.color2) = c;
  }
  xpkit::WritePng(xpkit::RenderGradient(r), Required(o, "-o"));
  return 0;
}

int Header(const Options& o) {
  xpkit::HeaderRequest r;
  Size(o, r.width, r.height);
  if (o.Has("--caption")) r.caption = Text(o, "--caption");
  if (o.Has("--description")) r.description = Text(o, "--description");
  if (const std::string* value = o.Find("--border-style")) {
    long long n;
    if (!xpkit::cli::ParseInt(*value, n) || n < INT32_MIN || n > INT32_MAX)
      throw UsageError("--border-style must be a 32-bit integer, not " + Quoted(*value));
    r.borderStyle = static_cast<std::int32_t>(n);
  }
  xpkit::WritePng(xpkit::RenderHeader(r), Required(o, "-o"));
  return 0;
}

int Button(const Options& o) {
  xpkit::ButtonRequest r;
  if (o.Has("--size")) Size(o, r.width, r.height);
  if (const std::string* value = o.Find("--look")) {
    const auto look = xpkit::ParseButtonLook(*value);
    if (!look) throw UsageError("--look must be normal, hover, focus, pressed or disabled, not " + Quoted(*value));
    r.look = *look;
  }
  if (o.Has("--caption")) r.caption = Text(o, "--caption");
  if (o.Has("--font")) r.fontFace = Text(o, "--font", xpkit::kMaxFaceName, "face name");
  if (const std::string* value = o.Find("--font-size")) {
    float pt;
    if (!xpkit::cli::ParseFloat(*value, pt) || !(pt >= 1 && pt <= 400))
      throw UsageError("--font-size must be a number of points from 1 to 400, not " + Quoted(*value));
    r.fontSize = pt;
  }
  xpkit::WritePng(xpkit::RenderButton(r), Required(o, "-o"));
  return 0;
}

int MsgBox(const Options& o) {
  xpkit::MsgBoxRequest r;
  r.text = Text(o, "--text");
  if (o.Has("--caption")) r.caption = Text(o, "--caption");
  xpkit::WritePng(xpkit::RenderMsgBox(r), Required(o, "-o"));
  return 0;
}

using xpkit::cli::OptionRule;
constexpr OptionRule kGradient[] = {{"--size"}, {"--angle"}, {"--color1"}, {"--color2"}, {"-o", xpkit::cli::kFileName}};
constexpr OptionRule kHeader[] = {
    {"--size"}, {"--caption"}, {"--description"}, {"--border-style"}, {"-o", xpkit::cli::kFileName}};
constexpr OptionRule kButton[] = {
    {"--size"}, {"--look"}, {"--caption"}, {"--font"}, {"--font-size"}, {"-o", xpkit::cli::kFileName}};
constexpr OptionRule kMsgBox[] = {{"--text"}, {"--caption"}, {"-o", xpkit::cli::kFileName}};

struct Subcommand {
  std::string_view name;
  std::span<const OptionRule> options;
  int (*run)(const Options&);
};
constexpr Subcommand kSubcommands[] = {
    {"gradient", kGradient, Gradient}, {"header", kHeader, Header}, {"button", kButton, Button}, {"msgbox", kMsgBox, MsgBox}};

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return xpkit::cli::RunTool("xpkit-gallery", [&] {
    const auto usage = [] { return xpkit::cli::PrintUsage((kUsage + Limits()).c_str()); };
    const std::string command = args.empty() ? "" : args[0];
    if (command == "help") return usage();
    const auto sub = std::find_if(std::begin(kSubcommands), std::end(kSubcommands),
                                  [&](const Subcommand& s) { return s.name == command; });
    const bool known = sub != std::end(kSubcommands);
    // Before a subcommand only --help and --version are known.
    const xpkit::cli::Grammar grammar{.options = known ? sub->options : std::span<const OptionRule>{},
                                      .unknownSuffix = known ? " for '" + command + "'" : ""};
    if (!known) xpkit::cli::CheckNotACommand(command);
    const Options o = xpkit::cli::ParseCommandLine(std::span(args).subspan(known ? 1 : 0), grammar);
    if (o.ask == Options::Ask::Help) return usage();
    if (o.ask == Options::Ask::Version) return xpkit::cli::PrintVersion("xpkit-gallery");
    return sub->run(o);
  });
}

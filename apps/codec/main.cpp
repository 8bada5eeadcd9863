// xpkit-codec: Base64 and RC4 over files or standard input and output.
#include <algorithm>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "xpkit/Error.h"
#include "xpkit/codecs/Base64Kernel.h"
#include "xpkit/codecs/RC4_Calc.h"
#include "xpkit/codecs/b64.h"
#include "xpkit/codepage/CodePage.h"
#include "xpkit/codepage/Utf.h"
#include "xpkit/files/InputFile.h"
#include "xpkit/files/OutputFile.h"
#include "common/Args.h"
#include "codec/ProgressBar.h"
#include "codec/ReadAhead.h"
#include "codec/WriteBehind.h"
#include "common/Options.h"

namespace {

constexpr const char* kUsage = R"(usage:
  xpkit-codec b64 encode [--wrap N] [--lf] [--] [IN [OUT]]
  xpkit-codec b64 decode [--] [IN [OUT]]
  xpkit-codec rc4 [--codepage N] (--key TEXT | --key-file FILE) [--] [IN [OUT]]
  xpkit-codec --help | --version

IN and OUT are files; "-" or a missing name means standard input or output. A name
that starts with "-" goes after "--".
  b64 encode   Base64 with the standard alphabet, "=" padding and CR LF after every
               76 characters (also after the last line when it is full)
    --wrap N   N characters a line instead of 76; 0 for no line breaks at all
    --lf       LF alone after each full line instead of CR LF, as coreutils'
               "base64 -d" wants: --lf, or --wrap 0, for a pipe into it
  b64 decode   the bytes of a Base64 text; CR and LF are skipped, any other character
               outside the alphabet counts as "A", and a short last group is filled
               with "A"
  rc4          RC4 under the key (encrypting and decrypting are the same operation).
               RC4 is broken as a cipher: use it only to read or write data that
               already uses it, never to protect anything new.
--key TEXT is taken through the system ANSI code page (XPKIT_CODEPAGE, 1256 by
default), or the one --codepage names (1252, 1256, or 65001 for UTF-8; also taken
before the command); a character
that code page lacks is an error, never a silent "?". --key-file FILE uses the file's
bytes ("-": standard input, when IN is a file). Only a key's first 256 bytes count,
and no more are read. Files are bytes: the code page plays no part in their content.

OUT is written as the shell's ">" would write it: through symbolic links, which the
kernel judges as it does for ">", keeping its owner, group and permissions, and
refused where ">" would be refused. It is
normally written to a temporary file, stored on disk and renamed into place, so a
failure or an interrupt leaves OUT as it was and no temporary file behind. A file
with other hard links, or in a folder that cannot take a new file, is overwritten
in place instead, which is not atomic.

The Base64 kernels are the fastest the CPU runs (AVX-512, AVX2, or plain code);
XPKIT_CODEC_KERNEL=scalar, avx2 or avx512 asks for one. All give the same results.

Exit status: 0 success, 1 the operation failed, 2 bad usage; 128 + N when signal N
(such as 130 for Ctrl-C) ended it.
)";

using xpkit::cli::Quoted;
using xpkit::cli::UsageError;

// RC4's key schedule takes 256 key bytes, repeating a shorter key; any beyond are unused.
constexpr std::size_t kKeyBytesUsed = 256;

using xpkit::cli::CommandLine;
using xpkit::cli::OptionRule;

// The options of each command; what follows them are IN and OUT ("-" is a file name).
constexpr OptionRule kEncodeOptions[] = {{"--wrap"}, {"--lf", xpkit::cli::kSwitch}};
constexpr OptionRule kRc4Options[] = {{"--key"}, {"--key-file", xpkit::cli::kFileName}, {"--codepage"}};

// IN and OUT, standard input and output where not given.
std::pair<std::string, std::string> Files(const std::vector<std::string>& names) {
  if (names.size() > 2) throw UsageError("too many file names");
  for (const auto& name : names)
    if (name.empty()) throw UsageError("a file name is empty");
  return {names.size() > 0 ? names[0] : "-", names.size() > 1 ? names[1] : "-"};
}

xpkit::InputFile OpenInput(const std::string& path) {
  xpkit::InputFile in(path);
  if (in.missing()) throw xpkit::Error(xpkit::ErrorCode::FileNotFound, Quoted(path));
  return in;
}

// A conversion's input and output. Between regular files, the input is read ahead and
// the output written behind on threads of their own: the system's copying of the files
// takes several times the conversion's own work, and a second core can take it on.
class Transfer {
 public:
  Transfer(const std::string& ip, const std::string& op)
      : in_(OpenInput(ip)), out_(op, {.input = in_.descriptor()}), progress_(in_.size()) {
    if (in_.size() >= 0) ahead_.emplace(in_);
    if (out_.way() != xpkit::OutputFile::Way::Stream) behind_.emplace(out_);
  }
  // The input's size in bytes, or -1 when it is not known.
  std::int64_t size() const { return in_.size(); }
  void Reserve(std::uint64_t bytes) { out_.Reserve(bytes); }
  std::size_t Read(std::uint8_t* data, std::size_t capacity) {
    const std::size_t n = ahead_ ? ahead_->Read(data, capacity) : in_.Read(data, capacity);
    progress_(read_ += n);
    return n;
  }
  void Write(const std::uint8_t* data, std::size_t n) {
    if (behind_) behind_->Write(data, n);
    else out_.Write(data, n);
  }
  void Commit() {
    if (behind_) behind_->Finish();
    out_.Commit();
  }

 private:
  xpkit::InputFile in_;
  xpkit::OutputFile out_;
  xpkit::cli::ProgressBar progress_;
  std::uint64_t read_ = 0;
  std::optional<xpkit::cli::ReadAhead> ahead_;
  std::optional<xpkit::cli::WriteBehind> behind_;  // last: joined before the output goes
};

// The line format that --wrap and --lf ask for.
xpkit::base64::LineFormat Lines(const CommandLine& line) {
  xpkit::base64::LineFormat lines;
  if (const std::string* value = line.Find("--wrap")) {
    long long length = 0;
    if (!xpkit::cli::ParseInt(*value, length) || length < 0)
      throw UsageError("--wrap takes a number of characters from 0 up, not " + Quoted(*value));
    lines.length = static_cast<std::size_t>(length);
  }
  lines.crlf = !line.Has("--lf");
  return lines;
}

int Base64(const CommandLine& line, const xpkit::CodecKernels& kernels) {
  const auto& words = line.words;
  if (words.empty()) throw UsageError("b64 needs 'encode' or 'decode'");
  const bool encode = words[0] == "encode";
  if (!encode && words[0] != "decode") throw UsageError("b64 takes 'encode' or 'decode', not " + Quoted(words[0]));
  const xpkit::base64::LineFormat lines = Lines(line);
  const auto [ip, op] = Files({words.begin() + 1, words.end()});
  Transfer t(ip, op);
  if (t.size() > 0) {
    const auto n = static_cast<std::size_t>(t.size());
    t.Reserve(encode ? xpkit::base64::EncodedLength(n, lines) : n / 4 * 3 + 3);
  }
  const auto source = [&](std::uint8_t* d, std::size_t c) { return t.Read(d, c); };
  const auto sink = [&](const std::uint8_t* d, std::size_t n) { t.Write(d, n); };
  if (encode) xpkit::EncodeStream(source, sink, kernels, lines);
  else xpkit::DecodeStream(source, sink, kernels);
  t.Commit();
  return 0;
}

// The code page that --codepage names.
const xpkit::CodePage& CodePageOption(const std::string& value) {
  long long number = 0;
  if (!xpkit::cli::ParseInt(value, number) || !xpkit::CodePage::Supported(number))
    throw UsageError("--codepage takes 1252, 1256 or 65001, not " + Quoted(value));
  return xpkit::CodePage::Get(static_cast<int>(number));
}

std::vector<std::uint8_t> KeyFromText(const std::string& value, const xpkit::CodePage& cp) {
  const auto text = xpkit::FromUtf8(value);
  if (!text) throw UsageError("--key is not valid UTF-8");
  xpkit::LostCharacters lost;
  const std::string bytes = cp.Encode(*text, lost);
  if (lost) throw UsageError("--key: " + lost.Describe(cp) + " (use --key-file for raw bytes)");
  return {bytes.begin(), bytes.end()};
}

// The bytes of a key file that the key uses, and no more: a key file may be endless.
std::vector<std::uint8_t> KeyFromFile(const std::string& path) {
  xpkit::InputFile file(path);
  if (file.missing()) throw xpkit::Error(xpkit::ErrorCode::FileNotFound, "key file " + Quoted(path));
  std::vector<std::uint8_t> bytes(kKeyBytesUsed);
  std::size_t got = 0;
  while (got < bytes.size()) {
    const std::size_t n = file.Read(bytes.data() + got, bytes.size() - got);
    if (n == 0) break;
    got += n;
  }
  bytes.resize(got);
  return bytes;
}

int Rc4(const CommandLine& line, const xpkit::CodePage* cp) {
  std::vector<std::pair<std::string, std::string>> keys;
  for (const auto& o : line.options) {
    if (o.first == "--codepage")
      cp = &CodePageOption(o.second);
    else
      keys.push_back(o);
  }
  if (keys.empty()) throw UsageError("rc4 needs --key TEXT or --key-file FILE");
  if (keys.size() > 1) throw UsageError("give the key once, with --key or --key-file");
  const auto& [option, value] = keys[0];
  const auto [ip, op] = Files(line.words);
  const bool keyFile = option == "--key-file";
  if (keyFile && value == "-" && ip == "-")
    throw UsageError("--key-file - reads the key from standard input, so IN must be a file");
  const std::vector<std::uint8_t> key = keyFile ? KeyFromFile(value) : KeyFromText(value, *cp);
  if (key.empty()) throw UsageError("the key is empty");
  Transfer t(ip, op);
  if (t.size() > 0) t.Reserve(static_cast<std::uint64_t>(t.size()));
  xpkit::RC4_Calc::Rc4State state(key.data(), key.size());
  std::vector<std::uint8_t> buf(1 << 20);
  while (const std::size_t n = t.Read(buf.data(), buf.size())) {
    state.Apply(buf.data(), n, buf.data());
    t.Write(buf.data(), n);
  }
  t.Commit();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return xpkit::cli::RunTool("xpkit-codec", [&] {
    // --codepage N may also come before the command.
    std::span<const std::string> rest(args);
    const std::string* codePage = nullptr;
    if (!rest.empty() && rest[0] == "--codepage") {
      if (rest.size() < 2) throw UsageError("--codepage needs a value");
      codePage = &rest[1];
      rest = rest.subspan(2);
    }
    const std::string command = rest.empty() ? "" : rest[0];
    const bool known = command == "b64" || command == "rc4";
    // Before a command only --help and --version are known.
    if (!known) xpkit::cli::CheckNotACommand(command);
    const bool encode = command == "b64" && rest.size() > 1 && rest[1] == "encode";
    const std::span<const OptionRule> options = command == "rc4" ? std::span<const OptionRule>(kRc4Options)
                                                : encode         ? std::span<const OptionRule>(kEncodeOptions)
                                                                 : std::span<const OptionRule>{};
    const CommandLine line =
        xpkit::cli::ParseCommandLine(rest.subspan(known ? 1 : 0), {.options = options, .words = true, .repeats = true});
    if (line.ask == CommandLine::Ask::Help) return xpkit::cli::PrintUsage(kUsage);
    if (line.ask == CommandLine::Ask::Version) return xpkit::cli::PrintVersion("xpkit-codec");
    // Both chosen once, here, where a bad environment or option is a usage error.
    const xpkit::CodecKernels& kernels = xpkit::CodecKernels::FromEnvironment();
    const xpkit::CodePage* cp = codePage ? &CodePageOption(*codePage) : &xpkit::SystemCodePage();
    return command == "b64" ? Base64(line, kernels) : Rc4(line, cp);
  });
}

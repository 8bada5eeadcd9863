// xpkit-codec: Base64 and RC4 over files or standard input and output.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "apps/common/Args.h"
#include "codecs/FileIO.h"
#include "codecs/RC4_Calc.h"
#include "codecs/b64.h"
#include "platform/CodePage.h"
#include "platform/Error.h"
#include "platform/Utf.h"

namespace {

constexpr const char* kUsage = R"(usage:
  xpkit-codec b64 encode [IN [OUT]]
  xpkit-codec b64 decode [IN [OUT]]
  xpkit-codec rc4 (--key TEXT | --key-file FILE) [IN [OUT]]
  xpkit-codec --help

IN and OUT are files; "-" or a missing name means standard input or output.
  b64 encode   Base64 with the standard alphabet, "=" padding and CR LF after every
               76 characters (also after the last line when it is full)
  b64 decode   the bytes of a Base64 text; CR and LF are skipped, any other character
               outside the alphabet counts as "A", and a short last group is filled
               with "A"
  rc4          RC4 under the key (encrypting and decrypting are the same operation).
               RC4 is broken as a cipher: use it only to read or write data that
               already uses it, never to protect anything new.
--key TEXT is taken through the system ANSI code page (XPKIT_CODEPAGE, 1256 by
default); --key-file FILE uses the file's bytes. Only a key's first 256 bytes count.
OUT is written through a temporary file and replaced only when the whole output is
ready, so a failure leaves no partial file.

Exit status: 0 success, 1 the operation failed, 2 bad usage.
)";

using xpkit::cli::UsageError;

// A progress bar on standard error for long inputs of known size, when it is a terminal.
class Progress {
 public:
  explicit Progress(std::int64_t total) : total_(total), on_(total >= (64 << 20) && isatty(STDERR_FILENO)) {}
  ~Progress() {
    if (on_ && shown_) std::fputs("\r\033[K", stderr);
  }
  void operator()(std::uint64_t done) {
    if (!on_) return;
    const auto now = std::chrono::steady_clock::now();
    if (shown_ && now - last_ < std::chrono::milliseconds(100)) return;
    last_ = now;
    shown_ = true;
    const double f = static_cast<double>(done) / static_cast<double>(total_);
    const int filled = static_cast<int>(f * 30);
    std::fprintf(stderr, "\r[%s%s] %3d%%  %llu / %llu MiB", std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(30 - filled), ' ').c_str(), static_cast<int>(f * 100),
                 static_cast<unsigned long long>(done >> 20), static_cast<unsigned long long>(total_ >> 20));
  }

 private:
  std::int64_t total_;
  bool on_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point last_{};
};

std::pair<std::string, std::string> Files(const std::vector<std::string>& rest) {
  if (rest.size() > 2) throw UsageError("too many file names");
  return {rest.size() > 0 ? rest[0] : "-", rest.size() > 1 ? rest[1] : "-"};
}

int Base64(const std::vector<std::string>& args) {
  if (args.empty()) throw UsageError("b64 needs 'encode' or 'decode'");
  const bool encode = args[0] == "encode";
  if (!encode && args[0] != "decode") throw UsageError("b64 takes 'encode' or 'decode', not '" + args[0] + "'");
  const auto [ip, op] = Files({args.begin() + 1, args.end()});
  xpkit::InputFile in(ip);
  if (in.missing()) throw xpkit::Error(xpkit::ErrorCode::FileNotFound, "'" + ip + "'");
  xpkit::OutputFile out(op);
  Progress progress(in.size());
  const auto source = [&](std::uint8_t* d, std::size_t c) { return in.Read(d, c); };
  const auto sink = [&](const std::uint8_t* d, std::size_t n) { out.Write(d, n); };
  if (encode) xpkit::EncodeStream(source, sink, std::ref(progress));
  else xpkit::DecodeStream(source, sink, std::ref(progress));
  out.Commit();
  return 0;
}

int Rc4(const std::vector<std::string>& args) {
  std::optional<std::vector<std::uint8_t>> key;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--key" || args[i] == "--key-file") {
      if (key) throw UsageError("give the key once, with --key or --key-file");
      if (i + 1 >= args.size()) throw UsageError(args[i] + " needs a value");
      const std::string value = args[++i];
      std::vector<std::uint8_t> bytes;
      if (args[i - 1] == "--key") {
        const auto text = xpkit::FromUtf8(value);
        if (!text) throw UsageError("--key is not valid UTF-8");
        const xpkit::CodePage& cp = xpkit::SystemCodePage();
        for (std::size_t k = 0; k < text->size(); ++k) {
          if (!cp.Represents((*text)[k]))
            throw UsageError("--key character " + std::to_string(k + 1) + " is not in code page " +
                             std::to_string(cp.number()) + " (use --key-file for raw bytes)");
          bytes.push_back(cp.ToByte((*text)[k]));
        }
      } else {
        xpkit::InputFile kf(value);
        if (kf.missing()) throw xpkit::Error(xpkit::ErrorCode::FileNotFound, "key file '" + value + "'");
        std::uint8_t buf[4096];
        while (const std::size_t n = kf.Read(buf, sizeof buf)) bytes.insert(bytes.end(), buf, buf + n);
      }
      if (bytes.empty()) throw UsageError("the key is empty");
      key = std::move(bytes);
    } else if (args[i].size() > 1 && args[i][0] == '-' && args[i] != "-") {
      throw UsageError("unknown option '" + args[i] + "'");
    } else {
      files.push_back(args[i]);
    }
  }
  if (!key) throw UsageError("rc4 needs --key TEXT or --key-file FILE");
  const auto [ip, op] = Files(files);
  xpkit::InputFile in(ip);
  if (in.missing()) throw xpkit::Error(xpkit::ErrorCode::FileNotFound, "'" + ip + "'");
  xpkit::OutputFile out(op);
  Progress progress(in.size());
  xpkit::RC4_Calc::Rc4State state(key->data(), std::min<std::size_t>(key->size(), 256));
  std::vector<std::uint8_t> buf(1 << 20);
  std::uint64_t done = 0;
  while (const std::size_t n = in.Read(buf.data(), buf.size())) {
    state.Apply(buf.data(), n, buf.data());
    out.Write(buf.data(), n);
    progress(done += n);
  }
  out.Commit();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return xpkit::cli::RunTool("xpkit-codec", kUsage, [&] {
    for (const auto& a : args)
      if (a == "--help" || a == "-h") {
        std::cout << kUsage;
        return 0;
      }
    if (args.empty()) throw UsageError("no command given");
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "b64") return Base64(rest);
    if (args[0] == "rc4") return Rc4(rest);
    throw UsageError("unknown command '" + args[0] + "'");
  });
}

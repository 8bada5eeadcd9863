// The codecs from C++: Base64 and RC4 over texts, whose characters become bytes through
// an ANSI code page, and over bytes; Base64 streams; and the errors they raise.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <xpkit/codecs/Base64Bytes.h>
#include <xpkit/codecs/RC4_Calc.h>
#include <xpkit/codecs/b64.h>
#include <xpkit/codepage/CodePage.h>
#include <xpkit/Error.h>
#include <xpkit/codepage/Utf.h>

namespace {

constexpr const char* kUsage = R"(usage: codecs [--help]
Prints what the codecs make of a few texts and bytes; the output is always the same.
)";

std::string Hex(const std::string& bytes) {
  std::string out;
  char buf[3];
  for (unsigned char b : bytes) {
    std::snprintf(buf, sizeof buf, "%02X", b);
    out += buf;
  }
  return out;
}

void Texts() {
  const xpkit::CodePage& arabic = xpkit::CodePage::Get(1256);
  const xpkit::CodePage& western = xpkit::CodePage::Get(1252);
  const xpkit::b64 codec(western);  // xpkit::b64() would take the system code page
  std::cout << "b64 encode \"Hello, world\": " << xpkit::ToUtf8(codec.encode(u"Hello, world")) << "\n";
  std::u16string base64 = u"SGVs\r\nbG8=";
  const std::u16string plain = codec.decode(base64);  // also strips CR and LF from its argument
  std::cout << "b64 decode \"SGVs\\r\\nbG8=\": " << xpkit::ToUtf8(plain) << " (argument now "
            << xpkit::ToUtf8(base64) << ")\n";
  // A character outside the code page becomes "?" (0x3F) before encoding.
  std::cout << "b64 encode \"\u062E\" in 1256: " << xpkit::ToUtf8(xpkit::b64(arabic).encode(u"\u062E"))
            << ", in 1252: " << xpkit::ToUtf8(codec.encode(u"\u062E")) << "\n";

  // UTF-8 carries every character; a single-byte code page says what it lost.
  xpkit::LostCharacters lost;
  const std::u16string greeting = xpkit::b64(arabic).encode(u"Gr\u00FC\u00DFe", lost);
  std::cout << "b64 encode \"Gr\u00FC\u00DFe\" in 1256: " << xpkit::ToUtf8(greeting) << " (" << lost.Describe(arabic)
            << "), in 65001: " << xpkit::ToUtf8(xpkit::b64(xpkit::CodePage::Get(65001)).encode(u"Gr\u00FC\u00DFe")) << "\n";
  // Another line format: LF after every 8 characters.
  const xpkit::b64 narrow(western, xpkit::CodecKernels::Fastest(), {8, false});
  std::string lines = xpkit::ToUtf8(narrow.encode(u"Hello, world"));
  std::replace(lines.begin(), lines.end(), '\n', '|');
  std::cout << "b64 encode \"Hello, world\" in lines of 8, LF shown as |: " << lines << "\n";

  const std::u16string secret = xpkit::RC4_Calc::rc4crypt(u"Plaintext", u"Key", western);
  std::cout << "rc4 \"Plaintext\" under \"Key\": " << Hex(western.Encode(secret)) << "\n";
  std::cout << "rc4 again: " << xpkit::ToUtf8(xpkit::RC4_Calc::rc4crypt(secret, u"Key", western)) << "\n";
}

void Bytes() {
  // The kernels are a table that the caller picks once and passes on.
  const xpkit::CodecKernels& kernels = xpkit::CodecKernels::Fastest();
  const std::vector<std::uint8_t> data = {0x00, 0xFF, 0x10, 0x80};
  std::string text(xpkit::base64::EncodedLength(data.size()), '\0');
  xpkit::base64::EncodeBytes(data.data(), data.size(), reinterpret_cast<std::uint8_t*>(text.data()),
                                kernels);
  std::cout << "bytes 00FF1080 encode: " << text << "\n";

  // Decoding skips CR and LF; DecodeRoom is enough for any text of that length.
  std::vector<std::uint8_t> decoded(xpkit::base64::DecodeRoom(text.size()));
  decoded.resize(
      xpkit::base64::DecodeBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), decoded.data(),
                                  kernels));
  std::cout << "decode back: " << Hex(std::string(decoded.begin(), decoded.end())) << "\n";

  std::string rc4 = "Attack at dawn";
  const std::string key = "Secret";
  auto* p = reinterpret_cast<std::uint8_t*>(rc4.data());
  xpkit::RC4_Calc::rc4crypt(p, rc4.size(), reinterpret_cast<const std::uint8_t*>(key.data()), key.size(), p);
  std::cout << "rc4 bytes \"Attack at dawn\" under \"Secret\": " << Hex(rc4) << "\n";
}

void Streams() {
  // A source and a sink over strings; files, pipes and sockets work the same way.
  const std::string input(60, 'x');
  std::size_t at = 0;
  std::string output;
  const std::uint64_t written = xpkit::EncodeStream(
      [&](std::uint8_t* buf, std::size_t capacity) {
        const std::size_t n = std::min(capacity, input.size() - at);
        input.copy(reinterpret_cast<char*>(buf), n, at);
        at += n;
        return n;
      },
      [&](const std::uint8_t* buf, std::size_t n) { output.append(reinterpret_cast<const char*>(buf), n); },
      xpkit::CodecKernels::Fastest());
  std::cout << "EncodeStream of 60 bytes: " << written << " characters, CR LF after the 76th: "
            << (output.substr(76, 2) == "\r\n" ? "yes" : "no") << "\n";
}

void Errors() {
  try {
    xpkit::RC4_Calc::rc4crypt(u"data", u"");
  } catch (const xpkit::Error& e) {
    std::cout << "rc4 with an empty key: error " << static_cast<int>(e.code()) << ", " << xpkit::Describe(e.code())
              << "\n";
  }
  try {
    xpkit::CodePage::Get(437);
  } catch (const xpkit::Error& e) {
    std::cout << "code page 437: error " << static_cast<int>(e.code()) << ", " << xpkit::Describe(e.code()) << "\n";
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    const std::string a = argv[1];
    const bool help = argc == 2 && (a == "--help" || a == "-h");
    (help ? std::cout : std::cerr) << kUsage;
    return help ? 0 : 2;
  }
  Texts();
  Bytes();
  Streams();
  Errors();
  return 0;
}

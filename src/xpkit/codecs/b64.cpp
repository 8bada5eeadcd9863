#include "xpkit/codecs/b64.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

#include "xpkit/Error.h"
#include "xpkit/codecs/Base64Bytes.h"
#include "xpkit/codecs/Base64Kernel.h"
#include "xpkit/codecs/detail/Base64Pieces.h"
#include "xpkit/codecs/detail/LargeText.h"
#include "xpkit/codecs/detail/TextBytes.h"
#include "xpkit/codepage/CodePage.h"
#include "xpkit/files/InputFile.h"
#include "xpkit/files/OutputFile.h"

namespace xpkit {
namespace {

constexpr std::size_t kEncodeChunk = 57 * 8192;  // whole lines, so every block ends one
constexpr std::size_t kDecodeChunk = 1 << 17;

// Reads until `buf` is full or the input ends.
std::size_t Fill(const ByteSource& in, std::uint8_t* buf, std::size_t capacity) {
  std::size_t got = 0;
  while (got < capacity) {
    const std::size_t n = in(buf + got, capacity - got);
    if (n == 0) break;
    got += n;
  }
  return got;
}

// Runs a stream into `op`, which is created only when the first output arrives: an
// operation with no output fails before `op` is touched.
template <class Stream>
void RunIntoFile(const std::string& ip, const std::string& op, Stream stream, const char* emptyWhat) {
  InputFile in(ip);
  if (in.missing())
    throw Error(ErrorCode::SubscriptOutOfRange, "input file '" + PrintableName(ip) + "' is missing, so there is nothing to write");
  std::optional<OutputFile> out;
  const std::uint64_t written = stream(
      [&](std::uint8_t* d, std::size_t c) { return in.Read(d, c); },
      [&](const std::uint8_t* d, std::size_t n) {
        if (!out) out.emplace(op, OutputFile::Options{.input = in.descriptor()});
        out->Write(d, n);
      });
  if (written == 0) throw Error(ErrorCode::SubscriptOutOfRange, "input file '" + PrintableName(ip) + "' " + emptyWhat);
  out->Commit();
}

}  // namespace

std::u16string b64::encode(const std::u16string& es) const {
  if (!cp_->singleByte()) {
    LostCharacters lost;
    return encode(es, lost);
  }
  return EncodeToText(es.size(), [&](std::size_t at, std::size_t m, std::uint8_t* out) {
    textbytes::ToBytes(es.data() + at, m, out, *cp_, *kernels_);
  });
}

std::u16string b64::encode(const std::u16string& es, LostCharacters& lost) const {
  if (cp_->singleByte()) {  // looked for only when asked: a pass of its own
    cp_->FindLost(es, 0, lost);
    return encode(es);
  }
  // A character is one to four bytes: the text's bytes first.
  auto bytes = std::make_unique_for_overwrite<char[]>(cp_->MaxBytes(es.size()));
  const std::size_t n = cp_->EncodeInto(es, bytes.get(), lost);
  return EncodeToText(n, [&](std::size_t at, std::size_t m, std::uint8_t* out) { std::memcpy(out, bytes.get() + at, m); });
}

template <class BytesAt>
std::u16string b64::EncodeToText(std::size_t n, BytesAt&& bytesAt) const {
  // Blocks of whole lines: characters to bytes, bytes to Base64, Base64 to characters,
  // each step in the cache.
  constexpr std::size_t kBlock = 57 * 64;
  return LargeText(base64::EncodedLength(n, lines_), [&](char16_t* out) {
    std::uint8_t bytes[kBlock], chars[kBlock / 3 * 4 * 3];  // room for a break after every character
    base64::LineEncoder encoder(lines_, *kernels_);
    std::size_t written = 0;
    for (std::size_t at = 0; at < n; at += kBlock) {
      const std::size_t m = std::min(kBlock, n - at);
      bytesAt(at, m, bytes);
      const std::size_t k = encoder.Encode(bytes, m, chars);
      textbytes::WidenAscii(chars, k, out + written);
      written += k;
    }
    return written;
  });
}

std::u16string b64::decode(std::u16string& ds) const {
  LostCharacters lost;
  return decode(ds, lost);
}

std::u16string b64::decode(std::u16string& ds, LostCharacters& lost) const {
  if (!cp_->singleByte()) {  // the bytes make characters only as a whole
    auto bytes = std::make_unique_for_overwrite<char[]>(base64::DecodeRoom(ds.size()));
    std::size_t n = 0;
    DecodeInBlocks(ds, [&](const std::uint8_t* b, std::size_t k) {
      std::memcpy(bytes.get() + n, b, k);
      n += k;
    });
    return LargeText(n, [&](char16_t* text) { return cp_->DecodeInto({bytes.get(), n}, text, lost); });
  }
  return LargeText(base64::DecodeRoom(ds.size()), [&](char16_t* text) {
    std::size_t written = 0;
    DecodeInBlocks(ds, [&](const std::uint8_t* b, std::size_t k) {
      textbytes::ToText(b, k, text + written, *cp_, *kernels_);
      written += k;
    });
    return written;
  });
}

template <class Take>
void b64::DecodeInBlocks(std::u16string& ds, Take&& take) const {
  // Blocks of `ds` are cleaned of CR and LF in place and narrowed to the bytes Base64
  // reads, in one pass; the bytes are decoded as pieces of one text.
  constexpr std::size_t kBlock = 1 << 14;
  const std::size_t n = ds.size();
  base64::PieceDecoder decoder(kBlock, *kernels_);
  auto bytes = std::make_unique_for_overwrite<std::uint8_t[]>(decoder.outputRoom());
  std::size_t kept = 0;
  for (std::size_t at = 0;; at += kBlock) {
    const std::size_t m = std::min(kBlock, n - at);
    const std::size_t piece = textbytes::StripBreaksToAscii(ds.data() + at, m, ds.data() + kept, decoder.piece(), *kernels_);
    kept += piece;
    take(bytes.get(), decoder.Decode(piece, at + m == n, bytes.get()));
    if (at + m == n) break;
  }
  ds.resize(kept);
}

void b64::encodefile(const std::string& ip, const std::string& op) const {
  RunIntoFile(ip, op, [this](auto&&... a) { return EncodeStream(a..., *kernels_, lines_); },
              "is empty, so there is nothing to write");
}

void b64::decodefile(const std::string& ip, const std::string& op) const {
  RunIntoFile(ip, op, [this](auto&&... a) { return DecodeStream(a..., *kernels_); },
              "holds no Base64 characters, so there is nothing to write");
}

std::uint64_t EncodeStream(const ByteSource& in, const ByteSink& out, const CodecKernels& kernels,
                           const base64::LineFormat& lines) {
  base64::LineEncoder encoder(lines, kernels);
  auto src = std::make_unique_for_overwrite<std::uint8_t[]>(kEncodeChunk);
  // A chunk's room from a line's start, and one break more for a line that runs on
  // from the chunk before.
  auto dst = std::make_unique_for_overwrite<std::uint8_t[]>(encoder.Room(kEncodeChunk) + 2);
  std::uint64_t written = 0;
  while (true) {
    const std::size_t n = Fill(in, src.get(), kEncodeChunk);
    if (n == 0) break;
    const std::size_t m = encoder.Encode(src.get(), n, dst.get());
    out(dst.get(), m);
    written += m;
    if (n < kEncodeChunk) break;
  }
  return written;
}

std::uint64_t DecodeStream(const ByteSource& in, const ByteSink& out, const CodecKernels& kernels) {
  base64::PieceDecoder decoder(kDecodeChunk, kernels);
  auto dst = std::make_unique_for_overwrite<std::uint8_t[]>(decoder.outputRoom());
  std::uint64_t written = 0;
  while (true) {
    const std::size_t n = Fill(in, decoder.piece(), kDecodeChunk);
    const bool last = n < kDecodeChunk;
    const std::size_t m = decoder.Decode(n, last, dst.get());
    if (m != 0) out(dst.get(), m);
    written += m;
    if (last) return written;
  }
}

std::string b64::dectobin(std::int32_t value) {
  if (value < 0 || value > 255)
    throw Error(ErrorCode::InvalidProcedureCall, "dectobin takes 0 to 255, not " + std::to_string(value));
  std::string digits(8, '0');
  for (int bit = 0; bit < 8; ++bit)
    if (value & (1 << bit)) digits[static_cast<std::size_t>(7 - bit)] = '1';
  return digits;
}

std::int16_t b64::bintodec(const std::string& digits) {
  std::int32_t sum = 0;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (digits[digits.size() - 1 - i] != '1') continue;
    if (i >= 15) throw Error(ErrorCode::Overflow, "bintodec: more than a 16-bit integer");
    sum += 1 << i;
    if (sum > 32767) throw Error(ErrorCode::Overflow, "bintodec: more than a 16-bit integer");
  }
  return static_cast<std::int16_t>(sum);
}

std::u16string b64::b64char(std::int32_t value) {
  if (value < 0 || value > 63) return {};
  return std::u16string(1, static_cast<char16_t>(base64::kAlphabet[value]));
}

std::int16_t b64::b64index(const std::u16string& ch) {
  if (ch.size() != 1) return 0;
  return static_cast<std::int16_t>(base64::ValueOf(ch[0]));
}

std::vector<std::uint8_t> b64::strtobytes(const std::u16string& text) const {
  if (text.empty()) throw Error(ErrorCode::SubscriptOutOfRange, "strtobytes: there is no empty byte block");
  const std::string bytes = cp_->Encode(text);
  return {bytes.begin(), bytes.end()};
}

std::u16string b64::readfile(const std::string& path) const {
  InputFile in(path);
  if (in.missing()) return {};
  return cp_->Decode(in.ReadAll());
}

}  // namespace xpkit

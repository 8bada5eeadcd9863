// Table-driven Base64 with 76-character lines over any character or byte type: the
// scalar kernel, which the vector kernels are checked against and which finishes what
// they leave (a buffer's tail, the text's last group).
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace xpkit::base64 {

constexpr std::size_t kGroupsPerLine = 19;  // 76 characters
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Characters for `n` input bytes: four per group of three (padded), and CR LF after
// every 19th group, also when it is the last one.
constexpr std::size_t EncodedLength(std::size_t n) {
  const std::size_t groups = (n + 2) / 3;
  return groups * 4 + (groups / kGroupsPerLine) * 2;
}

// The value of a character; every character outside the alphabet, "=" included, is 0.
struct DecodeTable {
  std::array<std::uint32_t, 256> v{};
  constexpr DecodeTable() {
    for (std::uint32_t i = 0; i < 64; ++i) v[static_cast<unsigned char>(kAlphabet[i])] = i;
  }
};
inline constexpr DecodeTable kDecode{};

template <class Ch>
constexpr std::uint32_t ValueOf(Ch c) {
  const auto u = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Ch>>(c));
  return u < 256 ? kDecode.v[u] : 0;
}

// Encodes `n` bytes, each given by byte(i), into `out` (EncodedLength(n) characters).
// The line counter starts afresh with every call; with `groupsPerLine` 0 there are no
// line breaks at all (4 characters for every 3 bytes, or part of 3).
template <class Out, class ByteAt>
void Encode(std::size_t n, ByteAt&& byte, Out* out, std::size_t groupsPerLine = kGroupsPerLine) {
  std::size_t o = 0, group = 0, i = 0;
  for (; i + 3 <= n; i += 3) {
    const std::uint32_t w = (std::uint32_t{byte(i)} << 16) | (std::uint32_t{byte(i + 1)} << 8) | byte(i + 2);
    out[o] = static_cast<Out>(kAlphabet[w >> 18]);
    out[o + 1] = static_cast<Out>(kAlphabet[(w >> 12) & 63]);
    out[o + 2] = static_cast<Out>(kAlphabet[(w >> 6) & 63]);
    out[o + 3] = static_cast<Out>(kAlphabet[w & 63]);
    o += 4;
    if (++group == groupsPerLine) {
      out[o++] = static_cast<Out>('\r');
      out[o++] = static_cast<Out>('\n');
      group = 0;
    }
  }
  if (i < n) {  // one or two bytes left, filled with zero bytes and padded with "="
    const std::size_t rest = n - i;
    const std::uint32_t w = (std::uint32_t{byte(i)} << 16) | (rest == 2 ? std::uint32_t{byte(i + 1)} << 8 : 0);
    out[o] = static_cast<Out>(kAlphabet[w >> 18]);
    out[o + 1] = static_cast<Out>(kAlphabet[(w >> 12) & 63]);
    out[o + 2] = static_cast<Out>(rest == 2 ? kAlphabet[(w >> 6) & 63] : '=');
    out[o + 3] = static_cast<Out>('=');
    o += 4;
    if (++group == groupsPerLine) {
      out[o++] = static_cast<Out>('\r');
      out[o++] = static_cast<Out>('\n');
    }
  }
}

// Bytes that a cleaned text (no CR, no LF) of `n` characters decodes to: three per
// group of four, a short last group counting as a whole one, less two when the text
// ends in "==" and one when it ends in a single "=".
template <class Ch>
constexpr std::size_t DecodedLength(const Ch* clean, std::size_t n) {
  if (n == 0) return 0;
  std::size_t len = (n + 3) / 4 * 3;
  if (clean[n - 1] == Ch('=')) len -= (n >= 2 && clean[n - 2] == Ch('=')) ? 2 : 1;
  return len;
}

// Decodes `groups` whole groups of four characters into 3 * groups bytes, stored with
// put(index, byte); no padding rule applies inside a text.
template <class Ch, class Put>
void DecodeGroups(const Ch* clean, std::size_t groups, Put&& put) {
  for (std::size_t g = 0, o = 0; g < groups; ++g, o += 3) {
    const Ch* c = clean + 4 * g;
    const std::uint32_t w = (ValueOf(c[0]) << 18) | (ValueOf(c[1]) << 12) | (ValueOf(c[2]) << 6) | ValueOf(c[3]);
    put(o, static_cast<std::uint8_t>(w >> 16));
    put(o + 1, static_cast<std::uint8_t>(w >> 8));
    put(o + 2, static_cast<std::uint8_t>(w));
  }
}

// Decodes the last group of a cleaned text of `n` characters (n > 0), the part of
// DecodedLength(clean, n) bytes after the (n - 1) / 4 groups before it. Missing
// characters count as "A"; the text's final "=" or "==" shortens the group.
template <class Ch, class Put>
void DecodeLast(const Ch* clean, std::size_t n, Put&& put) {
  const std::size_t total = DecodedLength(clean, n);
  const std::size_t full = (n - 1) / 4;
  std::uint32_t w = 0;
  for (std::size_t k = 0; k < 4; ++k) {
    const std::size_t at = 4 * full + k;
    w |= (at < n ? ValueOf(clean[at]) : 0) << (18 - 6 * k);
  }
  for (std::size_t k = 0, o = 3 * full; o < total; ++k, ++o) put(o, static_cast<std::uint8_t>(w >> (16 - 8 * k)));
}

// Decodes a whole cleaned text of `n` characters into DecodedLength(clean, n) bytes.
// Characters outside the alphabet count as 0.
template <class Ch, class Put>
void Decode(const Ch* clean, std::size_t n, Put&& put) {
  if (n == 0) return;
  DecodeGroups(clean, (n - 1) / 4, put);
  DecodeLast(clean, n, put);
}

template <class Ch>
constexpr bool IsBreak(Ch c) {
  return c == Ch('\r') || c == Ch('\n');
}

// How far a decoder got through a text with line breaks: it read src[0, read), whose
// characters other than CR and LF made whole groups, and wrote that many bytes.
struct Progress {
  std::size_t read = 0;
  std::size_t written = 0;
};

// Decodes whole groups of the characters of src[0, n) other than CR and LF, three bytes
// for every four characters; the 0 to 3 characters after the last whole group stay
// unread. The reference for the vector kernels and their tail.
template <class Ch>
Progress DecodeGroupsSkippingBreaks(const Ch* src, std::size_t n, std::uint8_t* dst) {
  Progress p;
  std::uint32_t w = 0;
  int k = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (IsBreak(src[i])) continue;
    w = (w << 6) | ValueOf(src[i]);
    if (++k < 4) continue;
    dst[p.written] = static_cast<std::uint8_t>(w >> 16);
    dst[p.written + 1] = static_cast<std::uint8_t>(w >> 8);
    dst[p.written + 2] = static_cast<std::uint8_t>(w);
    p.written += 3;
    p.read = i + 1;
    k = 0;
    w = 0;
  }
  return p;
}

// Where a vector kernel that stopped reading at `at`, with `pending` characters read
// but not decoded, resumes: at the first of those characters.
template <class Ch>
std::size_t GiveBack(const Ch* src, std::size_t at, std::size_t pending) {
  while (pending > 0) pending -= !IsBreak(src[--at]);
  return at;
}

// Where the last four characters other than CR and LF start, or 0 when there are
// fewer: the text's last group, and a final "=" or "==", lie at or after it.
template <class Ch>
std::size_t LastFourStart(const Ch* src, std::size_t n) {
  int found = 0;
  while (n > 0 && found < 4) found += !IsBreak(src[--n]);
  return found == 4 ? n : 0;
}

}  // namespace xpkit::base64

// Runs one of the codecs' streaming operations over bytes in memory, for comparing
// its output with that of the whole-text form.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>

#include "xpkit/codecs/b64.h"

template <class Stream>
std::string InMemoryStream(Stream stream, const std::uint8_t* data, std::size_t size) {
  std::string out;
  std::size_t at = 0;
  stream(
      [&](std::uint8_t* d, std::size_t capacity) {
        const std::size_t n = std::min(capacity, size - at);
        std::copy(data + at, data + at + n, d);
        at += n;
        return n;
      },
      [&](const std::uint8_t* d, std::size_t n) { out.append(reinterpret_cast<const char*>(d), n); });
  return out;
}

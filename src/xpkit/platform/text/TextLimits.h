// How long the texts and face names given to the controls may be. They are checked where
// they come in (layout files, the gallery's options), so that no accepted text takes
// long to draw, whatever its font size.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace xpkit {

// The platform's font description holds a face name of 32 characters with its terminator.
constexpr std::size_t kMaxFaceName = 31;
// A caption, description or message, in 16-bit characters. Breaking a text into lines
// measures every line once per word it could end at, so the time grows with the square
// of the length: this many characters in a one-pixel font on a line 16384 pixels wide
// take under half a second.
constexpr std::size_t kMaxText = 1024;

// For an error message naming the value before it: "is N characters long; a KIND is at
// most LIMIT" when `text` is longer than `limit`, else empty.
inline std::string TooLong(std::u16string_view text, std::size_t limit, std::string_view kind) {
  if (text.size() <= limit) return {};
  return "is " + std::to_string(text.size()) + " characters long; a " + std::string(kind) + " is at most " +
         std::to_string(limit);
}

}  // namespace xpkit

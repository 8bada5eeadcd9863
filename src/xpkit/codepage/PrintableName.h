// A file name (or any word a user gave) as messages show it: nothing in it can start a
// new line, move the cursor or reach the terminal as a control sequence.
#pragma once
#include <string>
#include <string_view>

namespace xpkit {

// `name` with every byte that is not printable text written as an escape: \a \b \t \n
// \v \f \r by name, the other control bytes, DEL and bytes that are not well-formed
// UTF-8 as \xHH, the C1 controls, line and paragraph separators and the bidirectional
// controls as \uHHHH; a backslash doubled. Printable ASCII and UTF-8 text are unchanged.
std::string PrintableName(std::string_view name);

}  // namespace xpkit

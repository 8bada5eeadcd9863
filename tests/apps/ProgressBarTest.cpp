// The tools' progress bar: shown only for long inputs of known size, and never failing
// when the input turns out longer or shorter than its size said.
#include "codec/ProgressBar.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace xpkit::cli {
namespace {

// What a progress bar writes over its life.
template <class Use>
std::string Drawn(std::int64_t total, bool show, Use use) {
  std::FILE* f = std::tmpfile();
  {
    ProgressBar progress(f, total, show);
    use(progress);
  }
  std::string text(static_cast<std::size_t>(std::ftell(f)), '\0');
  std::rewind(f);
  text.resize(std::fread(text.data(), 1, text.size(), f));
  std::fclose(f);
  return text;
}

TEST(ProgressBar, AnInputThatGrowsKeepsTheBarFullAndTheTotalTrue) {
  const std::int64_t total = ProgressBar::kMinimum;
  const std::string text = Drawn(total, true, [&](ProgressBar& p) { p(3 * static_cast<std::uint64_t>(total)); });
  EXPECT_NE(text.find("[" + std::string(30, '#') + "] 100%  192 / 192 MiB"), std::string::npos) << text;
}

TEST(ProgressBar, AnInputThatShrinksEndsWithAPartBar) {
  const std::int64_t total = 4 * ProgressBar::kMinimum;
  const std::string text = Drawn(total, true, [&](ProgressBar& p) { p(static_cast<std::uint64_t>(total) / 2); });
  EXPECT_NE(text.find("[" + std::string(15, '#') + std::string(15, ' ') + "]  50%  128 / 256 MiB"), std::string::npos)
      << text;
  EXPECT_EQ(text.substr(text.size() - 4), "\r\033[K");  // and clears its line at the end
}

TEST(ProgressBar, ShownOnlyForLongInputsOfKnownSize) {
  const auto run = [](ProgressBar& p) { p(1 << 30); };
  EXPECT_EQ(Drawn(-1, true, run), "");
  EXPECT_EQ(Drawn(ProgressBar::kMinimum - 1, true, run), "");
  EXPECT_EQ(Drawn(ProgressBar::kMinimum, false, run), "");
}

}  // namespace
}  // namespace xpkit::cli

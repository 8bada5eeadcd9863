// The tools' command lines: what is an option, a value, a word; where --help stops the
// reading; and the mistakes, each named.
#include "common/Options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Args.h"

namespace xpkit::cli {
namespace {

constexpr OptionRule kSpecs[] = {{"--wrap", kNumber}, {"--lf", kSwitch}, {"-o", kFileName}};

CommandLine Parse(std::vector<std::string> args, Grammar grammar = {.options = kSpecs, .words = true}) {
  return ParseCommandLine(args, grammar);
}

// The UsageError's message, or "accepted".
template <class Call>
std::string Thrown(Call&& call) {
  try {
    call();
  } catch (const UsageError& e) {
    return e.what();
  }
  return "accepted";
}

std::string Mistake(std::vector<std::string> args, Grammar grammar = {.options = kSpecs}) {
  return Thrown([&] { ParseCommandLine(args, grammar); });
}

TEST(Options, ValuesAreTakenAsGivenAndWordsKeepTheirOrder) {
  const auto line = Parse({"in", "--wrap", "-h", "--lf", "-", "--", "--lf", ""});
  EXPECT_EQ(line.ask, CommandLine::Ask::Run);
  EXPECT_EQ(*line.Find("--wrap"), "-h");  // an option's value, not a request for help
  EXPECT_TRUE(line.Has("--lf"));
  EXPECT_FALSE(line.Has("-o"));
  EXPECT_EQ(line.words, (std::vector<std::string>{"in", "-", "--lf", ""}));
  // Repeats allowed: in order, the last one found.
  const auto again = Parse({"--wrap", "1", "--wrap", "2"}, {.options = kSpecs, .repeats = true});
  EXPECT_EQ(again.options.size(), 2u);
  EXPECT_EQ(*again.Find("--wrap"), "2");
}

TEST(Options, HelpAndVersionStopTheReadingButNotAnEarlierMistake) {
  EXPECT_EQ(Parse({"--lf", "--help", "--bogus"}).ask, CommandLine::Ask::Help);
  EXPECT_EQ(Parse({"in", "-h"}).ask, CommandLine::Ask::Help);
  EXPECT_EQ(Parse({"--version", "--wrap"}).ask, CommandLine::Ask::Version);
  EXPECT_EQ(Parse({"--", "--help"}).ask, CommandLine::Ask::Run);
  EXPECT_EQ(Mistake({"--bogus", "--help"}), "unknown option '--bogus'");
}

TEST(Options, EachMistakeIsNamed) {
  EXPECT_EQ(Mistake({"--wrap"}), "--wrap needs a number");
  EXPECT_EQ(Mistake({"-o"}), "-o needs a file name");
  EXPECT_EQ(Mistake({"-o", ""}), "a file name is empty");
  EXPECT_EQ(Mistake({"--lf", "--lf"}), "--lf given twice");
  EXPECT_EQ(Mistake({"-o", "a", "-o", "b"}), "-o given twice");
  EXPECT_EQ(Mistake({"file"}), "unknown option 'file'");  // no words taken
  EXPECT_EQ(Mistake({"--"}), "unknown option '--'");
  EXPECT_EQ(Mistake({"-x\x1b"}, {.options = kSpecs, .unknownSuffix = " for 'b64'"}), "unknown option '-x\\x1b' for 'b64'");
}

// A first word that is no command: only the words asking for help or the version pass.
TEST(Options, AFirstWordThatIsNoCommand) {
  for (const char* ask : {"--help", "-h", "--version"}) EXPECT_NO_THROW(CheckNotACommand(ask));
  const auto mistake = [](const std::string& word) { return Thrown([&] { CheckNotACommand(word); }); };
  EXPECT_EQ(mistake(""), "no command given");
  EXPECT_EQ(mistake("--lf"), "unknown command '--lf'");
  EXPECT_EQ(mistake("b\x7f"), "unknown command 'b\\x7f'");
}

}  // namespace
}  // namespace xpkit::cli

// The command line of a tool or of one of its subcommands: options that take a value,
// --help and --version, and (where the command takes them) plain words such as file
// names. Every mistake is a UsageError naming the word at fault.
#pragma once
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xpkit::cli {

// What an option's value is, as "needs a ..." says it. A file name may not be empty; a
// switch takes no value (it is recorded with an empty one).
constexpr std::string_view kValue = "value", kFileName = "file name", kNumber = "number", kSwitch = "";

struct OptionRule {
  std::string_view name;  // "--size", "-o"
  std::string_view value = kValue;
};

struct Grammar {
  std::span<const OptionRule> options = {};
  // Plain words are taken: "-" and anything not starting with "-" is one, and "--"
  // makes every word after it one. Otherwise a plain word is an unknown option.
  bool words = false;
  // An option may be given more than once (the command judges the repeats); otherwise
  // a second one is refused.
  bool repeats = false;
  // Follows "unknown option 'X'", naming the subcommand: " for 'header'".
  std::string unknownSuffix = {};
};

struct CommandLine {
  enum class Ask { Run, Help, Version };
  // --help or -h, or --version, seen before any mistake: the rest is not read.
  Ask ask = Ask::Run;
  std::vector<std::string> words;
  std::vector<std::pair<std::string, std::string>> options;  // in the order given

  // The value of an option (its last, if repeated), or null when it was not given.
  const std::string* Find(std::string_view name) const;
  bool Has(std::string_view name) const { return Find(name) != nullptr; }
};

CommandLine ParseCommandLine(std::span<const std::string> args, const Grammar& grammar);

// A tool's first word where it names none of the tool's commands: --help, -h and
// --version pass (ParseCommandLine reads them); anything else is "no command given" or
// "unknown command 'X'".
void CheckNotACommand(const std::string& word);

// "TOOL VERSION" on standard output; status 0, or a FileError as PrintUsage has.
int PrintVersion(const char* tool);

}  // namespace xpkit::cli

#include "common/Options.h"

#include <algorithm>

#include "common/Args.h"

namespace xpkit::cli {
namespace {

bool IsAsk(std::string_view word) { return word == "--help" || word == "-h" || word == "--version"; }

}  // namespace

const std::string* CommandLine::Find(std::string_view name) const {
  const auto it = std::find_if(options.rbegin(), options.rend(), [&](const auto& o) { return o.first == name; });
  return it == options.rend() ? nullptr : &it->second;
}

CommandLine ParseCommandLine(std::span<const std::string> args, const Grammar& grammar) {
  CommandLine line;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded || (grammar.words && (a == "-" || a.empty() || a[0] != '-'))) {
      line.words.push_back(a);
      continue;
    }
    if (grammar.words && a == "--") {
      optionsEnded = true;
      continue;
    }
    if (IsAsk(a)) {
      line.ask = a == "--version" ? CommandLine::Ask::Version : CommandLine::Ask::Help;
      return line;
    }
    const auto rule = std::find_if(grammar.options.begin(), grammar.options.end(),
                                   [&](const OptionRule& o) { return o.name == a; });
    if (rule == grammar.options.end()) throw UsageError("unknown option " + Quoted(a) + grammar.unknownSuffix);
    const bool isSwitch = rule->value == kSwitch;
    if (!isSwitch && i + 1 >= args.size()) throw UsageError(a + " needs a " + std::string(rule->value));
    if (rule->value == kFileName && args[i + 1].empty()) throw UsageError("a file name is empty");
    if (!grammar.repeats && line.Has(a)) throw UsageError(a + " given twice");
    line.options.emplace_back(a, isSwitch ? std::string() : args[++i]);
  }
  return line;
}

void CheckNotACommand(const std::string& word) {
  if (!IsAsk(word)) throw UsageError(word.empty() ? "no command given" : "unknown command " + Quoted(word));
}

int PrintVersion(const char* tool) { return PrintUsage((std::string(tool) + " " XPKIT_VERSION "\n").c_str()); }

}  // namespace xpkit::cli

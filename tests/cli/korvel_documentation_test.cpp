// korvel --help, the manual page and the bash completion name the same
// commands, options and option values. What the test expects is read from
// korvel's table of subcommands (the usage lines --help prints), so a
// command added to the table is checked without a change here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include <unistd.h>

#include "cli/command_line.h"
#ifdef KORVEL_WITH_RENDER
#include "cli_qt/command_render.h"
#endif

namespace {

const std::string kManPage = std::string(PELMORA_SOURCE_DIR) + "/resources/man/korvel.1.in";
const std::string kCompletion = std::string(PELMORA_SOURCE_DIR) + "/resources/completion/korvel";
const char* const kBashCompletion = "/usr/share/bash-completion/bash_completion";

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::string Joined(const std::set<std::string>& words) {
  std::string text;
  for (const auto& word : words) text += (text.empty() ? "" : " ") + word;
  return text;
}

// The options of a usage line and, for an option followed by a list of
// words ("--format i23|apx|tgf"), the words it takes. A value in capitals
// ("FILE") or with an extension ("OUT.(png|svg|pdf)") names no fixed words.
struct TUsage {
  std::set<std::string> Options;
  std::map<std::string, std::set<std::string>> Values;
};

TUsage ReadUsage(const std::string& line) {
  std::string spaced;
  for (char c : line)
    spaced += (c == '[' || c == ']') ? std::string(" ") + c + " " : std::string(1, c);
  const std::vector<std::string> words = Words(spaced);
  TUsage usage;
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i].size() < 2 || words[i][0] != '-') continue;
    usage.Options.insert(words[i]);
    if (i + 1 == words.size()) continue;
    const std::string& value = words[i + 1];
    if (value == "[" || value == "]" || value == "|" || value[0] == '-') continue;
    if (value.find_first_of("(.") != std::string::npos) continue;
    if (value.find('|') == std::string::npos &&
        std::any_of(value.begin(), value.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
      continue;
    std::istringstream alternatives(value);
    for (std::string word; std::getline(alternatives, word, '|');)
      usage.Values[words[i]].insert(word);
  }
  return usage;
}

// The lines of korvel --help that show a call: "Usage: korvel ..." and the
// lines under it, and "  korvel COMMAND ..." of every command.
std::vector<std::string> HelpCalls() {
  std::ostringstream out, err;
  RunKorvel({"--help"}, out, err);
  std::vector<std::string> calls;
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("Usage:", 0) == 0) line = line.substr(6);
    const size_t at = line.find_first_not_of(' ');
    if (at != std::string::npos && line.compare(at, 7, "korvel ") == 0)
      calls.push_back(line.substr(at));
  }
  return calls;
}

// The calls without a command: what the first words after korvel may be.
std::set<std::string> TopLevelOptions(const std::vector<std::string>& calls) {
  std::set<std::string> first;
  for (const auto& call : calls) {
    if (call.rfind("korvel -", 0) != 0 && call.rfind("korvel [-", 0) != 0) continue;
    std::string alternatives = call.substr(7);
    std::replace(alternatives.begin(), alternatives.end(), '[', ' ');
    std::replace(alternatives.begin(), alternatives.end(), ']', ' ');
    std::istringstream in(alternatives);
    for (std::string alternative; std::getline(in, alternative, '|');) {
      const auto words = Words(alternative);
      if (!words.empty() && words[0][0] == '-') first.insert(words[0]);
    }
  }
  return first;
}

// A section of the manual page as plain lines: font escapes and macro names
// gone, "\-" a hyphen, quotes dropped, blanks squeezed.
std::vector<std::string> ManSection(const std::string& page, const std::string& title) {
  std::vector<std::string> section;
  bool inside = false;
  std::istringstream lines(page);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(".SH ", 0) == 0) {
      inside = line == ".SH " + title;
      continue;
    }
    if (!inside || line.rfind(".\\\"", 0) == 0) continue;
    if (!line.empty() && line[0] == '.') {
      const size_t blank = line.find(' ');
      line = blank == std::string::npos ? "" : line.substr(blank + 1);
    }
    std::string plain;
    for (size_t i = 0; i < line.size(); ++i) {
      if (line.compare(i, 2, "\\f") == 0 && i + 2 < line.size()) {
        i += 2;
      } else if (line.compare(i, 2, "\\-") == 0) {
        plain += '-';
        ++i;
      } else if (line[i] != '"') {
        plain += line[i];
      }
    }
    std::string squeezed;
    for (const auto& word : Words(plain)) squeezed += (squeezed.empty() ? "" : " ") + word;
    if (!squeezed.empty()) section.push_back(squeezed);
  }
  return section;
}

TEST(KorvelDocumentation, TheManualPageShowsEveryCallOfTheHelp) {
#ifdef KORVEL_WITH_RENDER
  RegisterRenderCommand();
#endif
  const std::string page = ReadText(kManPage);
  ASSERT_FALSE(page.empty()) << kManPage;
  const std::vector<std::string> synopsis = ManSection(page, "SYNOPSIS");
  const std::vector<std::string> commands = ManSection(page, "COMMANDS");
  std::string options;
  for (const auto& line : ManSection(page, "OPTIONS")) options += " " + line + " ";

  for (const auto& call : HelpCalls())
    if (std::find(synopsis.begin(), synopsis.end(), call) == synopsis.end())
      ADD_FAILURE() << kManPage << ": the SYNOPSIS lacks the line\n  " << call
                    << "\nthat korvel --help prints";
  std::set<std::string> known;
  for (const TSubcommand& command : Subcommands()) {
    known.insert(command.Name);
    if (std::none_of(commands.begin(), commands.end(), [&](const std::string& line) {
          return line == command.Name || line.rfind(command.Name + " ", 0) == 0;
        }))
      ADD_FAILURE() << kManPage << ": COMMANDS has no entry (.TP, then a line beginning with \""
                    << command.Name << "\") for the command " << command.Name;
    for (const auto& option : ReadUsage(command.Usage).Options)
      if (options.find(" " + option + " ") == std::string::npos)
        ADD_FAILURE() << kManPage << ": OPTIONS has no entry for " << option << ", an option of "
                      << command.Name;
  }
  for (const auto& option : TopLevelOptions(HelpCalls()))
    if (options.find(" " + option + " ") == std::string::npos)
      ADD_FAILURE() << kManPage << ": OPTIONS has no entry for " << option;
  // No command the table lacks (render only exists in the desktop build).
  for (const auto& line : synopsis) {
    const auto words = Words(line);
    if (words.size() < 2 || words[1][0] == '-' || words[1][0] == '[' || words[1] == "COMMAND")
      continue;
#ifndef KORVEL_WITH_RENDER
    if (words[1] == "render") continue;
#endif
    if (!known.count(words[1]))
      ADD_FAILURE() << kManPage << ": the SYNOPSIS names " << words[1]
                    << ", which is no command of korvel";
  }
}

// What the completion offers for each line, the last word being the one typed.
std::vector<std::set<std::string>> Complete(const std::vector<std::vector<std::string>>& lines) {
  const std::string script = (std::filesystem::temp_directory_path() /
                              ("korvel_completion_" + std::to_string(::getpid()) + ".sh"))
                                 .string();
  {
    std::ofstream out(script, std::ios::binary);
    out << "source '" << kBashCompletion << "'\nsource '" << kCompletion << "'\n"
        << "ask() {\n  COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); COMP_LINE=\"$*\"; "
           "COMP_POINT=${#COMP_LINE}; COMPREPLY=()\n"
           "  _korvel korvel \"${COMP_WORDS[COMP_CWORD]}\" \"${COMP_WORDS[COMP_CWORD-1]}\"\n"
           "  echo \"${COMPREPLY[*]}\"\n}\n";
    for (const auto& words : lines) {
      out << "ask";
      for (const auto& word : words) out << " '" << word << "'";
      out << "\n";
    }
  }
  std::vector<std::set<std::string>> answers;
  FILE* pipe = ::popen(("bash --norc --noprofile '" + script + "'").c_str(), "r");
  std::string output;
  char buffer[4096];
  for (size_t got; pipe && (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    output.append(buffer, got);
  if (pipe) ::pclose(pipe);
  std::filesystem::remove(script);
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) {
    const auto words = Words(line);
    answers.emplace_back(words.begin(), words.end());
  }
  return answers;
}

TEST(KorvelDocumentation, TheCompletionOffersWhatTheHelpShows) {
  if (!std::filesystem::exists(kBashCompletion)) GTEST_SKIP() << "bash-completion is not installed";
#ifdef KORVEL_WITH_RENDER
  RegisterRenderCommand();
#endif
  std::vector<std::vector<std::string>> lines;
  std::vector<std::set<std::string>> expected;
  std::set<std::string> names;
  for (const TSubcommand& command : Subcommands()) names.insert(command.Name);
  lines.push_back({"korvel", ""});
  expected.push_back(names);
  lines.push_back({"korvel", "-"});
  expected.push_back(TopLevelOptions(HelpCalls()));
  for (const TSubcommand& command : Subcommands()) {
    const TUsage usage = ReadUsage(command.Usage);
    std::set<std::string> options = usage.Options;
    options.insert({"--help", "--"});
    lines.push_back({"korvel", command.Name, "-"});
    expected.push_back(options);
    for (const auto& [option, values] : usage.Values) {
      lines.push_back({"korvel", command.Name, option, ""});
      expected.push_back(values);
      // A solver's call at the top level completes as solve does.
      if (command.Name == "solve" && option == "-p") {
        lines.push_back({"korvel", option, ""});
        expected.push_back(values);
      }
    }
  }
  const std::vector<std::set<std::string>> answers = Complete(lines);
  ASSERT_EQ(answers.size(), lines.size()) << "the completion script did not answer every line";
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string typed;
    for (const auto& word : lines[i]) typed += (typed.empty() ? "" : " ") + word;
    std::set<std::string> missing, extra;
    std::set_difference(expected[i].begin(), expected[i].end(), answers[i].begin(),
                        answers[i].end(), std::inserter(missing, missing.end()));
    std::set_difference(answers[i].begin(), answers[i].end(), expected[i].begin(),
                        expected[i].end(), std::inserter(extra, extra.end()));
#ifndef KORVEL_WITH_RENDER
    if (i == 0) extra.erase("render");  // render exists in the desktop build only
#endif
    if (!missing.empty() || !extra.empty())
      ADD_FAILURE() << kCompletion << ": completing '" << typed << "'"
                    << (missing.empty() ? "" : "\n  does not offer: " + Joined(missing))
                    << (extra.empty()
                            ? ""
                            : "\n  offers what korvel --help does not show: " + Joined(extra));
  }
}

}  // namespace

#include "frameworks/argumentation_framework.h"

#include <algorithm>
#include <charconv>
#include <istream>
#include <map>
#include <set>
#include <unordered_map>

#include "logic/text_util.h"

namespace {

// The lines of a text, without their line ends (LF or CR LF), numbered from 1.
template <class Visit>
void ForEachLine(std::string_view text, Visit&& visit) {
  size_t number = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    visit(++number, line);
    start = end + 1;
  }
}

size_t LineCount(std::string_view text) {
  size_t count = 0;
  ForEachLine(text, [&](size_t, std::string_view) { ++count; });
  return count;
}

std::vector<std::string_view> Tokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

// A name as it may be shown in a message: control characters escaped.
std::string Shown(std::string_view name) {
  static const char* const kHex = "0123456789abcdef";
  std::string shown = "\"";
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      shown += "\\n";
    } else if (c == '\r') {
      shown += "\\r";
    } else if (c == '\t') {
      shown += "\\t";
    } else if (byte < 32 || byte == 127) {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 15];
    } else if (c == '"' || c == '\\') {
      shown += '\\';
      shown += c;
    } else {
      shown += c;
    }
  }
  return shown + "\"";
}

// A decimal number of digits only; nothing when it is not one.
std::optional<size_t> Number(std::string_view token) {
  if (token.empty() || token.size() > 18) return std::nullopt;
  for (char c : token)
    if (c < '0' || c > '9') return std::nullopt;
  size_t value = 0;
  std::from_chars(token.data(), token.data() + token.size(), value);
  return value;
}

void CheckName(size_t line, std::string_view name) {
  const std::string problem = ArgumentNameProblem(name);
  if (!problem.empty())
    throw TFrameworkError(
        line, "argument name " + Shown(name) + " cannot be a sentence text: " + problem);
}

// Collects attacks once each, in order of first appearance.
class TAttackSet {
 public:
  explicit TAttackSet(TArgumentationFramework& framework) : framework_(framework) {}
  void Add(size_t from, size_t to) {
    if (seen_.insert({from, to}).second) framework_.Attacks.emplace_back(from, to);
  }

 private:
  TArgumentationFramework& framework_;
  std::set<std::pair<size_t, size_t>> seen_;
};

TArgumentationFramework ReadI23(std::string_view text) {
  TArgumentationFramework framework;
  TAttackSet attacks(framework);
  bool headerRead = false;
  size_t count = 0;
  ForEachLine(text, [&](size_t number, std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#') return;
    const std::vector<std::string_view> tokens = Tokens(trimmed);
    if (!tokens.empty() && tokens.front() == "p") {
      if (headerRead) throw TFrameworkError(number, "a second \"p af N\" header");
      const std::optional<size_t> n =
          tokens.size() == 3 && tokens[1] == "af" ? Number(tokens[2]) : std::nullopt;
      if (!n)
        throw TFrameworkError(number,
                              "expected the header \"p af N\" with a number of arguments N");
      if (*n > kMaxFrameworkArguments)
        throw TFrameworkError(number, "the header declares " + std::string(tokens[2]) +
                                          " arguments; at most " +
                                          std::to_string(kMaxFrameworkArguments) + " are read");
      count = *n;
      headerRead = true;
      framework.Arguments.reserve(count);
      for (size_t i = 1; i <= count; ++i) framework.Arguments.push_back(std::to_string(i));
      return;
    }
    if (!headerRead)
      throw TFrameworkError(number, "expected the header \"p af N\" before any attack");
    const std::optional<size_t> from = tokens.size() == 2 ? Number(tokens[0]) : std::nullopt;
    const std::optional<size_t> to = tokens.size() == 2 ? Number(tokens[1]) : std::nullopt;
    if (!from || !to)
      throw TFrameworkError(number, "expected an attack \"A B\" of two argument numbers");
    for (size_t argument : {*from, *to})
      if (argument < 1 || argument > count)
        throw TFrameworkError(number, "attack on undeclared argument " + std::to_string(argument) +
                                          " (the header declares arguments 1 to " +
                                          std::to_string(count) + ")");
    attacks.Add(*from - 1, *to - 1);
  });
  if (!headerRead)
    throw TFrameworkError(std::max<size_t>(1, LineCount(text)), "no \"p af N\" header");
  return framework;
}

// Names declared, each once, with their indexes.
class TNameTable {
 public:
  explicit TNameTable(TArgumentationFramework& framework) : framework_(framework) {}
  void Declare(size_t line, std::string_view name) {
    CheckName(line, name);
    if (index_.count(std::string(name))) return;
    index_.emplace(std::string(name), framework_.Arguments.size());
    framework_.Arguments.emplace_back(name);
  }
  std::optional<size_t> Find(std::string_view name) const {
    auto it = index_.find(std::string(name));
    if (it == index_.end()) return std::nullopt;
    return it->second;
  }

 private:
  TArgumentationFramework& framework_;
  std::unordered_map<std::string, size_t> index_;
};

struct TPendingAttack {
  size_t Line;
  std::string From, To;
};

void ResolveAttacks(const std::vector<TPendingAttack>& pending, const TNameTable& names,
                    TArgumentationFramework& framework) {
  TAttackSet attacks(framework);
  for (const auto& attack : pending) {
    const std::optional<size_t> from = names.Find(attack.From);
    const std::optional<size_t> to = names.Find(attack.To);
    if (!from)
      throw TFrameworkError(attack.Line, "attack from undeclared argument " + Shown(attack.From));
    if (!to)
      throw TFrameworkError(attack.Line, "attack on undeclared argument " + Shown(attack.To));
    attacks.Add(*from, *to);
  }
}

TArgumentationFramework ReadApx(std::string_view text) {
  TArgumentationFramework framework;
  TNameTable names(framework);
  std::vector<TPendingAttack> pending;
  ForEachLine(text, [&](size_t number, std::string_view line) {
    const size_t comment = line.find('%');
    if (comment != std::string_view::npos) line = line.substr(0, comment);
    std::string_view rest = Trim(line);
    while (!rest.empty()) {
      const bool isArgument = StartsWith(rest, "arg(");
      if (!isArgument && !StartsWith(rest, "att("))
        throw TFrameworkError(number, "expected a fact \"arg(NAME).\" or \"att(NAME,NAME).\"");
      const size_t close = rest.find(')');
      if (close == std::string_view::npos)
        throw TFrameworkError(number, "a fact without its \")\"");
      const std::string_view inside = rest.substr(4, close - 4);
      if (inside.find('(') != std::string_view::npos) CheckName(number, Trim(inside));
      rest = TrimLeft(rest.substr(close + 1));
      if (rest.empty() || rest.front() != '.')
        throw TFrameworkError(number, "a fact without its closing \".\"");
      rest = Trim(rest.substr(1));
      std::vector<std::string_view> parts;
      size_t start = 0;
      for (size_t comma = inside.find(',');; comma = inside.find(',', start)) {
        parts.push_back(Trim(
            inside.substr(start, comma == std::string_view::npos ? inside.npos : comma - start)));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
      }
      if (parts.size() != (isArgument ? 1u : 2u))
        throw TFrameworkError(number,
                              isArgument ? "\"arg\" takes one name" : "\"att\" takes two names");
      for (std::string_view name : parts) {
        if (name.empty()) throw TFrameworkError(number, "an empty argument name");
        if (name.find_first_of(" \t") != std::string_view::npos)
          throw TFrameworkError(number, "argument name " + Shown(name) + " holds a blank");
      }
      if (isArgument) {
        names.Declare(number, parts[0]);
      } else {
        pending.push_back({number, std::string(parts[0]), std::string(parts[1])});
      }
    }
  });
  ResolveAttacks(pending, names, framework);
  return framework;
}

TArgumentationFramework ReadTgf(std::string_view text) {
  TArgumentationFramework framework;
  TNameTable names(framework);
  std::vector<TPendingAttack> pending;
  bool inAttacks = false;
  ForEachLine(text, [&](size_t number, std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty()) return;
    if (trimmed == "#") {
      if (inAttacks) throw TFrameworkError(number, "a second \"#\" line");
      inAttacks = true;
      return;
    }
    const std::vector<std::string_view> tokens = Tokens(trimmed);
    if (!inAttacks) {
      if (tokens.size() != 1)
        throw TFrameworkError(number, "expected one argument name per line before the \"#\" line");
      names.Declare(number, tokens[0]);
    } else {
      if (tokens.size() != 2)
        throw TFrameworkError(number, "expected an attack \"NAME NAME\" after the \"#\" line");
      pending.push_back({number, std::string(tokens[0]), std::string(tokens[1])});
    }
  });
  ResolveAttacks(pending, names, framework);
  return framework;
}

}  // namespace

std::optional<size_t> TArgumentationFramework::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < Arguments.size(); ++i)
    if (Arguments[i] == name) return i;
  return std::nullopt;
}

std::string_view FrameworkFormatName(TFrameworkFormat format) {
  switch (format) {
    case TFrameworkFormat::I23:
      return "i23";
    case TFrameworkFormat::Apx:
      return "apx";
    case TFrameworkFormat::Tgf:
      return "tgf";
  }
  return "i23";
}

std::optional<TFrameworkFormat> FrameworkFormatFromName(std::string_view name) {
  for (TFrameworkFormat format :
       {TFrameworkFormat::I23, TFrameworkFormat::Apx, TFrameworkFormat::Tgf})
    if (FrameworkFormatName(format) == name) return format;
  return std::nullopt;
}

std::optional<TFrameworkFormat> FrameworkFormatOfPath(std::string_view path) {
  const size_t dot = path.rfind('.');
  const size_t slash = path.rfind('/');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
    return std::nullopt;
  const std::string_view extension = path.substr(dot + 1);
  if (extension == "af" || extension == "i23") return TFrameworkFormat::I23;
  if (extension == "apx") return TFrameworkFormat::Apx;
  if (extension == "tgf") return TFrameworkFormat::Tgf;
  return std::nullopt;
}

std::optional<TFrameworkFormat> GuessFrameworkFormat(std::string_view text) {
  // The first line that is no comment tells i23 and apx; tgf has its "#" line.
  std::optional<TFrameworkFormat> guess;
  bool decided = false, separator = false;
  ForEachLine(text, [&](size_t, std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed == "#") separator = true;
    if (decided || trimmed.empty() || trimmed.front() == '%' || trimmed.front() == '#') return;
    decided = true;
    if (StartsWith(trimmed, "p af")) {
      guess = TFrameworkFormat::I23;
    } else if (StartsWith(trimmed, "arg(") || StartsWith(trimmed, "att(")) {
      guess = TFrameworkFormat::Apx;
    }
  });
  if (!guess && separator) guess = TFrameworkFormat::Tgf;
  return guess;
}

std::string ArgumentNameProblem(std::string_view name) {
  if (name.empty()) return "it is empty";
  if (IsBlank(name.front()) || IsBlank(name.back()))
    return "it begins or ends with a blank, which a theory file drops";
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte == 127) return "it holds a control character";
  }
  if (name.find_first_of("<>") != std::string_view::npos)
    return "it holds '<' or '>', which a theory file reads as tags or variables";
  if (name.find_first_of("(),") != std::string_view::npos)
    return "it holds '(', ')' or ',', which the sentence parser reads as a compound sentence";
  return {};
}

TArgumentationFramework ReadFramework(std::string_view text, TFrameworkFormat format) {
  // Trimming would take a NUL byte for a blank and read "1 2\0" as "1 2".
  const size_t nul = text.find('\0');
  if (nul != std::string_view::npos) {
    const auto line = static_cast<size_t>(
        std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(nul), '\n'));
    throw TFrameworkError(line + 1, "a NUL byte; a framework file is text");
  }
  switch (format) {
    case TFrameworkFormat::I23:
      return ReadI23(text);
    case TFrameworkFormat::Apx:
      return ReadApx(text);
    case TFrameworkFormat::Tgf:
      return ReadTgf(text);
  }
  return ReadI23(text);
}

std::string ReadFrameworkText(std::istream& in) {
  std::string content;
  char chunk[65536];
  for (;;) {
    in.read(chunk, sizeof chunk);
    const size_t got = static_cast<size_t>(in.gcount());
    if (got == 0) break;
    if (content.size() + got > kMaxFrameworkFileBytes) {
      content.append(chunk, kMaxFrameworkFileBytes - content.size());
      throw TFrameworkError(LineCount(content),
                            "larger than " + std::to_string(kMaxFrameworkFileBytes >> 20) +
                                " MiB; framework files up to that size are read");
    }
    content.append(chunk, got);
  }
  if (in.bad()) throw TFrameworkError(0, "the input could not be read");
  return content;
}

namespace {

// Names that the format's reader would split or read differently.
void CheckWritable(const TArgumentationFramework& framework, TFrameworkFormat format) {
  if (format == TFrameworkFormat::I23) return;
  const std::string_view forbidden = format == TFrameworkFormat::Apx ? " \t%(),." : " \t";
  for (const auto& name : framework.Arguments) {
    const std::string problem = ArgumentNameProblem(name);
    if (!problem.empty() || name.find_first_of(forbidden) != std::string::npos || name == "#")
      throw TFrameworkError(0, "argument name " + Shown(name) + " cannot be written in the " +
                                   std::string(FrameworkFormatName(format)) + " format");
  }
}

}  // namespace

std::string WriteFramework(const TArgumentationFramework& framework, TFrameworkFormat format) {
  CheckWritable(framework, format);
  std::string text;
  switch (format) {
    case TFrameworkFormat::I23:
      text = "p af " + std::to_string(framework.Arguments.size()) + "\n";
      for (const auto& [from, to] : framework.Attacks)
        text += std::to_string(from + 1) + " " + std::to_string(to + 1) + "\n";
      break;
    case TFrameworkFormat::Apx:
      for (const auto& name : framework.Arguments) text += "arg(" + name + ").\n";
      for (const auto& [from, to] : framework.Attacks)
        text += "att(" + framework.Arguments[from] + "," + framework.Arguments[to] + ").\n";
      break;
    case TFrameworkFormat::Tgf:
      for (const auto& name : framework.Arguments) text += name + "\n";
      text += "#\n";
      for (const auto& [from, to] : framework.Attacks)
        text += framework.Arguments[from] + " " + framework.Arguments[to] + "\n";
      break;
  }
  return text;
}

#include "cli/solve_output.h"

#include <ostream>

std::string_view AnswerStyleName(TAnswerStyle style) {
  return style == TAnswerStyle::Style2019 ? "2019" : "2023";
}

std::optional<TAnswerStyle> AnswerStyleFromName(std::string_view name) {
  for (TAnswerStyle style : {TAnswerStyle::Style2019, TAnswerStyle::Style2023})
    if (AnswerStyleName(style) == name) return style;
  return std::nullopt;
}

TAnswerStyle DefaultAnswerStyle(TFrameworkFormat format) {
  return format == TFrameworkFormat::I23 ? TAnswerStyle::Style2023 : TAnswerStyle::Style2019;
}

TSolveOutput::TSolveOutput(std::ostream& out, TAnswerStyle style,
                           const TArgumentationFramework& framework)
    : out_(out), style_(style), framework_(framework) {}

void TSolveOutput::PrintMembers(const std::vector<size_t>& extension, char open, char separator,
                                char close) {
  if (open) out_ << open;
  for (size_t i = 0; i < extension.size(); ++i) {
    if (i > 0 || !open) out_ << separator;
    out_ << framework_.Arguments[extension[i]];
  }
  if (close) out_ << close;
}

void TSolveOutput::SomeExtension(const std::optional<std::vector<size_t>>& extension) {
  if (!extension) {
    out_ << "NO\n";
  } else if (style_ == TAnswerStyle::Style2019) {
    PrintMembers(*extension, '[', ',', ']');
    out_ << '\n';
  } else {
    out_ << 'w';
    PrintMembers(*extension, 0, ' ', 0);
    out_ << '\n';
  }
}

void TSolveOutput::BeginExtensions() {
  listed_ = 0;
  if (style_ == TAnswerStyle::Style2019) out_ << '[';
}

void TSolveOutput::Extension(const std::vector<size_t>& extension) {
  if (style_ == TAnswerStyle::Style2019) {
    if (listed_ > 0) out_ << ',';
    PrintMembers(extension, '[', ',', ']');
  } else {
    SomeExtension(extension);
  }
  ++listed_;
}

void TSolveOutput::EndExtensions() {
  if (style_ == TAnswerStyle::Style2019) {
    out_ << "]\n";
  } else if (listed_ == 0) {
    out_ << "NO\n";
  }
}

void TSolveOutput::Decision(bool yes, const std::optional<std::vector<size_t>>& witness) {
  out_ << (yes ? "YES\n" : "NO\n");
  if (style_ == TAnswerStyle::Style2023 && witness) SomeExtension(witness);
}

void TSolveOutput::Count(std::uintmax_t count) {
  out_ << count << '\n';
}

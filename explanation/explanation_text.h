// The words of an explanation: one sentence per line, shared by the window's
// panel and `korvel explain`.
#pragma once

#include <string>
#include <string_view>

#include "explanation/explanation.h"

// "justified", "defeated" or "open".
std::string_view StatusWord(TExplainedStatus status);
// The step a line stands for, as: "b" is justified by "if(a, b)".
std::string LineText(const TExplanationLine& line);
// The kind of a step as one word, for the JSON document.
std::string_view KindWord(TStepKind kind);

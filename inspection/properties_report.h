// The lines of the Properties window for a selected sentence: its text, its
// kind in the theory, its status in the interpretation shown, its variables
// and its diagram index. Headings are bold.
#pragma once

#include <string>
#include <vector>

#include "logic/sentence.h"

struct TReportLine {
  std::string Text;
  bool Bold = false;
};

std::vector<TReportLine> PropertiesLines(const TKorvelSentence& sentence, int diagramIndex);

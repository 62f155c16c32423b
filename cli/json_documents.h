// The JSON documents of `korvel ... --json` (docs/korvel-json.md). Every
// document is an object whose first member is "schemaVersion", then
// "command"; every sentence text is one JSON string; statuses, marks and
// whether a list was cut are members of their own.
//
// JSON strings are Unicode. A text that is valid UTF-8 is given as it is; any
// other text is given as its Latin-1 reading, as the program shows it.
#pragma once

#include <iosfwd>
#include <string>

#include <nlohmann/json.hpp>

#include "diagram/draw_context.h"
#include "refresh/refresh_core.h"
#include "evaluation/interpretations.h"
#include "inspection/match_report.h"

using TJson = nlohmann::ordered_json;

inline constexpr int kJsonSchemaVersion = 1;

// An object holding "schemaVersion" and "command", to which a command adds.
TJson JsonDocument(const std::string& command);
// A sentence text as a JSON string.
TJson JsonText(const std::string& text);
// "elementary", "negation", "conditional" (or "unset").
const char* JsonKind(const SentencePtr& sentence);
// "justified", "defeated" or "open", from the sentence's marks.
const char* JsonStatus(const TKorvelSentence& sentence);

// korvel interpretations
TJson InterpretationsJson(bool evaluated, const TEvaluation& evaluation);
// korvel report; marks each interpretation on the result's theory in turn.
TJson ReportJson(TRefreshResult& result);
// The calls of a drawing and its rows, with each box's marks as the box shows
// them (taken from the context's theory when it holds the text).
TJson DrawingJson(TDrawContext& context);
// The matches of a match report (without the diagram).
TJson MatchListJson(const TMatchReport& report);

// Writes the document, indented, followed by a line break.
void WriteJson(std::ostream& out, const TJson& document);

#include "cli/json_documents.h"

#include <ostream>

namespace {

bool IsValidUtf8(const std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i]);
    size_t length = 0;
    unsigned int code = 0;
    if (byte < 0x80) {
      ++i;
      continue;
    } else if ((byte & 0xE0) == 0xC0) {
      length = 2;
      code = byte & 0x1Fu;
    } else if ((byte & 0xF0) == 0xE0) {
      length = 3;
      code = byte & 0x0Fu;
    } else if ((byte & 0xF8) == 0xF0) {
      length = 4;
      code = byte & 0x07u;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3Fu);
    }
    // Overlong forms, surrogates and code points beyond Unicode are invalid.
    if ((length == 2 && code < 0x80) || (length == 3 && code < 0x800) ||
        (length == 4 && code < 0x10000) || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
      return false;
    i += length;
  }
  return true;
}

std::string Latin1ToUtf8(const std::string& text) {
  std::string converted;
  converted.reserve(text.size() * 2);
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      converted += c;
    } else {
      converted += static_cast<char>(0xC0 | (byte >> 6));
      converted += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return converted;
}

TJson TextList(const TListOfKorvelSentences& sentences) {
  TJson list = TJson::array();
  for (const auto& sentence : sentences) list.push_back(JsonText(sentence->Text));
  return list;
}

TJson StatusList(const TListOfKorvelSentences& sentences) {
  TJson list = TJson::array();
  for (const auto& sentence : sentences) {
    TJson entry = TJson::object();
    entry["text"] = JsonText(sentence->Text);
    entry["status"] = JsonStatus(*sentence);
    list.push_back(std::move(entry));
  }
  return list;
}

TJson SentenceList(const TListOfKorvelSentences& sentences) {
  TJson list = TJson::array();
  for (const auto& sentence : sentences) {
    TJson entry = TJson::object();
    entry["text"] = JsonText(sentence->Text);
    entry["kind"] = JsonKind(sentence);
    list.push_back(std::move(entry));
  }
  return list;
}

}  // namespace

TJson JsonDocument(const std::string& command) {
  TJson document = TJson::object();
  document["schemaVersion"] = kJsonSchemaVersion;
  document["command"] = command;
  return document;
}

TJson JsonText(const std::string& text) {
  return IsValidUtf8(text) ? text : Latin1ToUtf8(text);
}

const char* JsonKind(const SentencePtr& sentence) {
  if (Is<TKorvelElementarySentence>(sentence)) return "elementary";
  if (Is<TKorvelDialecticalNegation>(sentence)) return "negation";
  if (Is<TKorvelConditional>(sentence)) return "conditional";
  return "unset";
}

const char* JsonStatus(const TKorvelSentence& sentence) {
  if (sentence.IsJustified) return "justified";
  if (sentence.IsDefeated) return "defeated";
  return "open";
}

TJson InterpretationsJson(bool evaluated, const TEvaluation& evaluation) {
  TJson document = JsonDocument("interpretations");
  document["evaluated"] = evaluated;
  document["cut"] = evaluation.Cut;
  document["limit"] = kInterpretationLimit;
  TJson list = TJson::array();
  for (const auto& interpretation : evaluation.Interpretations)
    list.push_back(TextList(interpretation));
  document["interpretations"] = std::move(list);
  return document;
}

TJson ReportJson(TRefreshResult& result) {
  TJson document = JsonDocument("report");
  const TKorvelTheory& theory = result.Theory;
  document["assumptions"] = SentenceList(theory.Assumptions);
  document["issues"] = SentenceList(theory.Issues);
  document["evaluated"] = result.Evaluated;
  document["cut"] = result.InterpretationsCut;
  TJson list = TJson::array();
  for (size_t k = 0; k < result.Interpretations.size(); ++k) {
    MarkStatuses(theory, result.Interpretations[k]);
    TJson entry = TJson::object();
    entry["number"] = k + 1;
    entry["members"] = TextList(result.Interpretations[k]);
    entry["assumptions"] = StatusList(theory.Assumptions);
    entry["issues"] = StatusList(theory.Issues);
    list.push_back(std::move(entry));
  }
  // The marks in force stay those of the first interpretation.
  if (!result.Interpretations.empty()) MarkStatuses(theory, result.Interpretations.front());
  document["interpretations"] = std::move(list);
  return document;
}

TJson DrawingJson(TDrawContext& context) {
  TJson calls = TJson::array();
  for (const TDrawCall& call : context.Drawing.Calls) {
    TJson entry = TJson::object();
    switch (call.Kind) {
      case TDrawCall::TKind::Box: {
        entry["call"] = "box";
        entry["row"] = call.Row;
        entry["column"] = call.Column;
        entry["minimumWidth"] = call.MinimumWidth;
        entry["tag"] = call.Tag;
        entry["text"] = JsonText(call.Sentence->Text);
        const SentencePtr shown = context.TheorySentence(call.Sentence->Text);
        const TKorvelSentence& flags = shown ? *shown : *call.Sentence;
        entry["assumption"] = flags.IsAssumption;
        entry["issue"] = flags.IsIssue;
        entry["status"] = context.StructureOnly ? "unevaluated" : JsonStatus(flags);
        break;
      }
      case TDrawCall::TKind::Cycle:
        entry["call"] = "cycle";
        entry["row"] = call.Row;
        entry["column"] = call.Column;
        break;
      case TDrawCall::TKind::Link:
        entry["call"] = "link";
        entry["shape"] = LinkShapeName(call.Shape);
        entry["marker"] = call.Marker;
        entry["fromColumn"] = call.FromColumn;
        entry["fromRow"] = call.FromRow;
        entry["toColumn"] = call.ToColumn;
        entry["toRow"] = call.ToRow;
        entry["tag"] = call.Tag;
        entry["text"] = JsonText(call.Sentence->Text);
        break;
    }
    calls.push_back(std::move(entry));
  }
  TJson drawing = TJson::object();
  drawing["calls"] = std::move(calls);
  drawing["rows"] = context.RowsUsed;
  return drawing;
}

TJson MatchListJson(const TMatchReport& report) {
  TJson list = TJson::array();
  for (size_t i = 0; i < report.Matches.size(); ++i) {
    const TMatch& match = report.Matches[i];
    TJson entry = TJson::object();
    entry["exact"] = i < report.ExactMatches;
    entry["pattern"] = JsonText(match.MatchedText);
    entry["result"] = JsonText(match.ResultText);
    TJson bindings = TJson::array();
    const auto& variables = match.Source->Variables;
    for (size_t v = 0; v < match.Bindings.size(); ++v) {
      TJson binding = TJson::object();
      binding["variable"] = JsonText(v < variables.size() ? variables[v] : std::string());
      binding["value"] = JsonText(match.Bindings[v]);
      bindings.push_back(std::move(binding));
    }
    entry["bindings"] = std::move(bindings);
    list.push_back(std::move(entry));
  }
  return list;
}

void WriteJson(std::ostream& out, const TJson& document) {
  out << document.dump(2) << '\n';
}

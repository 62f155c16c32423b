// Whether a theory can be stored: the file format escapes nothing, so a text
// holding a tag of the format ("<THEORY>", "</ELEMENTARYSENTENCE>", ...) can
// make the written file read back with sentences lost, added or changed.
// Every write of the program is checked here, so that such a change is never
// silent: the document names the sentences and refuses to save them.
#pragma once

#include <string>
#include <vector>

#include "logic/theory.h"

struct TStorageCheck {
  // Texts of the sentences (assumptions, then issues, as written) that do not
  // read back the same; empty when the file reads back as written.
  std::vector<std::string> Unstorable;
  bool Stored() const { return Unstorable.empty(); }
  // The message the window shows; empty when stored.
  std::string Message() const;
};

// Reads `written` (the writer's rendering of `theory`) back and writes it
// again: the theory is stored when the bytes are the same, or, for a theory
// whose texts are not in read form yet, when the read back lost no sentence
// and its normal form is a fixed point. Otherwise each
// assumption and issue the writer took is tried alone, between probe
// sentences in both sections, to name the sentences at fault; when no single
// one is, every sentence written that the read back lacks is named.
TStorageCheck CheckTheoryStorage(const TKorvelTheory& theory, const TKorvelFile& written,
                                 bool parseSentences);

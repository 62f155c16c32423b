// What the Qt benchmarks of the diagram share: a forest of argued claims to
// draw, and an application on the offscreen platform for their widgets.
#pragma once

#include <QApplication>
#include <memory>
#include <string>

#include "logic/sentence.h"

namespace bench {

// Claims with two supports and one attack each: four boxes per claim.
inline TListOfKorvelSentences Forest(int boxes) {
  TListOfKorvelSentences list;
  for (int tree = 0; tree * 4 < boxes; ++tree) {
    const std::string n = std::to_string(tree);
    SentencePtr claim = MakeElementarySentence("claim number " + n);
    auto support = [&](const std::string& text, const SentencePtr& consequent) {
      auto conditional = std::make_shared<TKorvelConditional>();
      conditional->Antecedents.push_back(MakeElementarySentence(text));
      conditional->Consequent = consequent;
      RebuildText(*conditional);
      list.push_back(conditional);
      list.push_back(conditional->Antecedents.front());
    };
    list.push_back(claim);
    support("first reason for " + n, claim);
    support("second reason for " + n, claim);
    support("objection to " + n, MakeDialecticalNegation(claim));
  }
  for (size_t i = 0; i < list.size(); ++i) {
    list[i]->IsAssumption = i % 2 == 0;
    list[i]->IsIssue = i % 2 != 0;
    list[i]->IsJustified = i % 3 == 0;
    list[i]->IsDefeated = i % 3 == 1;
  }
  return list;
}

// Widgets need an application; the benchmarks paint off screen.
inline bool EnsureApplication() {
  static int argc = 1;
  static char name[] = "pelmora_bench";
  static char* argv[] = {name, nullptr};
  static const bool platform = qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication application(argc, argv);
  return platform;
}

}  // namespace bench

// The grid layout of argument trees: which sentences become roots, where
// boxes and links go, and the diagram indices they carry.
#include <gtest/gtest.h>

#include "tests/diagram/diagram_test_theory.h"

TEST(DiagramLayout, EmptyListDrawsNothingAndKeepsTheStartRow) {
  TDrawContext context;
  DrawArguments(context, {}, 0, 7);
  EXPECT_TRUE(context.DrawnSentences.empty());
  EXPECT_TRUE(context.Drawing.Elements.empty());
  EXPECT_EQ(context.RowsUsed, 7);
}

TEST(DiagramLayout, SingleIssueIsOneBoxInTheFirstCell) {
  TTestTheory theory({}, {"p"});
  EXPECT_EQ(theory.Layout(), "box 0 0 0 0 p\nrows 1\n");
}

TEST(DiagramLayout, AttacksHangRightmostAndSupportsFurtherLeft) {
  TTestTheory theory({"if(p, s)", "if(q, s)", "if(r, x(s))"}, {"s"});
  EXPECT_EQ(theory.Layout(),
            "box 0 0 3 0 s\n"
            "link BoxDropAttack 1 2 0 3 1 1 if(r, x(s))\n"
            "box 1 3 0 2 r\n"
            "link BoxDropSupport 1 1 0 2 2 3 if(p, s)\n"
            "box 2 2 0 4 p\n"
            "link BoxDropSupport 1 0 0 1 3 5 if(q, s)\n"
            "box 3 1 0 6 q\n"
            "rows 4\n");
}

TEST(DiagramLayout, SecondAntecedentIsReachedByContinuingTheLine) {
  TTestTheory theory({"if(a, b, s)"}, {"s"});
  EXPECT_EQ(theory.Layout(),
            "box 0 0 1 0 s\n"
            "link BoxDropSupport 1 0 0 1 1 1 if(a, b, s)\n"
            "box 1 1 0 2 a\n"
            "box 2 1 0 3 b\n"
            "link BoxDropSupport 0 0 0 1 2 1 if(a, b, s)\n"
            "rows 3\n");
}

TEST(DiagramLayout, MutualSupportEndsInACycleMark) {
  TTestTheory theory({"if(a, b)", "if(b, a)"}, {});
  EXPECT_EQ(theory.Layout(),
            "box 0 0 1 0 b\n"
            "link BoxDropSupport 1 0 0 1 1 1 if(a, b)\n"
            "box 1 1 1 2 a\n"
            "link BoxDropSupport 1 1 1 2 2 3 if(b, a)\n"
            "cycle 2 2\n"
            "box 2 2 0 0 b\n"
            "rows 3\n");
}

TEST(DiagramLayout, SupportOfAConditionalBranchesOffItsLine) {
  TTestTheory theory({"if(p, s)", "if(q, if(p, s))", "if(r, if(q, if(p, s)))"}, {"s"});
  EXPECT_EQ(theory.Layout(),
            "box 0 0 1 0 s\n"
            "box 1 2 0 2 q\n"
            "link BranchSupport 1 0 1 2 1 1 if(q, if(p, s))\n"
            "link BarDropSupport 1 1 1 2 2 3 if(r, if(q, if(p, s)))\n"
            "box 2 2 0 4 r\n"
            "link BoxDropSupport 1 0 0 1 3 5 if(p, s)\n"
            "box 3 1 0 6 p\n"
            "rows 4\n");
}

TEST(DiagramLayout, AttackOnAConditionalBranchesWithACross) {
  TTestTheory theory({"if(p, s)", "if(q, x(if(p, s)))"}, {"s"});
  const std::string lines = theory.Layout();
  EXPECT_NE(lines.find("link BranchAttack 1 0 1 1 1 1 if(q, x(if(p, s)))\n"), std::string::npos) << lines;
  EXPECT_EQ(lines.find("box 0 0 1 0 s\n"), 0u) << lines;
}

TEST(DiagramLayout, AttacksNegationIsNotARootOfItsOwn) {
  TTestTheory theory({"if(r, x(s))"}, {"s", "x(s)"});
  const std::string lines = theory.Layout();
  EXPECT_EQ(lines.find("x(s)\n"), std::string::npos) << lines;
  EXPECT_NE(lines.find("link BoxDropAttack"), std::string::npos) << lines;
}

TEST(DiagramLayout, SharedReasonIsDrawnTwiceWithOneIndex) {
  TTestTheory theory({"if(p, s)", "if(p, t)"}, {"s", "t"});
  TDrawContext context;
  EXPECT_EQ(theory.Layout(context),
            "box 0 0 1 0 s\n"
            "link BoxDropSupport 1 0 0 1 1 1 if(p, s)\n"
            "box 1 1 0 2 p\n"
            "box 2 0 1 3 t\n"
            "link BoxDropSupport 1 0 2 1 3 4 if(p, t)\n"
            "box 3 1 0 2 p\n"
            "rows 4\n");
  std::vector<TDiagramElement> frames = ElementsOf(context, TElementKind::Frame);
  ASSERT_EQ(frames.size(), 4u);
  EXPECT_EQ(frames[1].Tag, 2);
  EXPECT_EQ(frames[3].Tag, 2);
  EXPECT_EQ(frames[3].Row, 3);
  EXPECT_EQ(context.DrawnSentences.size(), 5u);
}

TEST(DiagramLayout, ConditionalWithoutAntecedentsTakesNoRow) {
  auto s = MakeElementarySentence("s");
  s->IsIssue = true;
  auto empty = std::make_shared<TKorvelConditional>();
  empty->Consequent = s;
  RebuildText(*empty);
  empty->IsAssumption = true;
  auto t = MakeElementarySentence("t");
  t->IsIssue = true;
  TDrawContext context;
  DrawArguments(context, {s, empty, t}, 0, 0);
  std::ostringstream out;
  WriteLayoutLines(context, out);
  EXPECT_EQ(out.str(), "box 0 0 1 0 s\nlink BoxDropSupport 1 0 0 1 1 1 " + empty->Text + "\nbox 1 0 0 2 t\nrows 2\n");
}

TEST(DiagramLayout, RootsComeStatementsFirstAndNegationsLast) {
  TTestTheory theory({"x(u)", "if(a, b)"}, {"z"});
  EXPECT_EQ(theory.Layout(),
            "box 0 0 0 0 u\n"
            "box 1 0 1 1 b\n"
            "link BoxDropSupport 1 0 1 1 2 2 if(a, b)\n"
            "box 2 1 0 3 a\n"
            "box 3 0 0 4 z\n"
            "box 4 0 0 5 x(u)\n"
            "rows 5\n");
}

TEST(DiagramLayout, SentenceWithoutRoleBecomesAnIssueOfTheTheoryUnlessTheContextForbids) {
  for (bool addsIssues : {true, false}) {
    TKorvelTheory theory;
    auto p = MakeElementarySentence("p");
    TDrawContext context;
    context.Theory = &theory;
    context.RegistrationAddsIssues = addsIssues;
    DrawArguments(context, {p}, 0, 0);
    EXPECT_TRUE(p->IsIssue);
    EXPECT_FALSE(p->IsAssumption);
    EXPECT_EQ(theory.Issues.size(), addsIssues ? 1u : 0u);
  }
}

TEST(DiagramLayout, SentenceWithoutRoleTakesTheRoleOfTheTheorysSentence) {
  TKorvelTheory theory;
  theory.Assumptions.push_back(MakeElementarySentence("p"));
  auto p = MakeElementarySentence("p");
  TDrawContext context;
  context.Theory = &theory;
  DrawArguments(context, {p}, 0, 0);
  EXPECT_TRUE(p->IsAssumption);
  EXPECT_FALSE(p->IsIssue);
  EXPECT_TRUE(theory.Issues.empty());
}

TEST(DiagramLayout, HiddenNegationKeepsItsRowButHasNoBox) {
  TTestTheory theory({"if(r, x(s))"}, {"x(q)", "t"});
  TDrawContext shown, hidden;
  hidden.ShowDialecticalNegations = false;
  const std::string shownLines = theory.Layout(shown);
  EXPECT_EQ(theory.Layout(hidden), shownLines);
  EXPECT_EQ(hidden.RowsUsed, shown.RowsUsed);
  const int negation = hidden.DrawnIndexOfText("x(q)");
  ASSERT_GE(negation, 0);
  for (const TDiagramElement& element : hidden.Drawing.Elements)
    EXPECT_FALSE(element.Kind == TElementKind::Frame && element.Tag == negation);
  EXPECT_EQ(ElementsOf(shown, TElementKind::Frame).size(), ElementsOf(hidden, TElementKind::Frame).size() + 1);
  EXPECT_EQ(ElementsOf(shown, TElementKind::Bar).size(), ElementsOf(hidden, TElementKind::Bar).size());
}

TEST(DiagramLayout, StructureOnlyKeepsTheGrid) {
  TTestTheory theory({"if(p, s)", "if(q, x(s))", "if(a, b, if(p, s))"}, {"s"});
  TDrawContext normal, structure;
  structure.StructureOnly = true;
  EXPECT_EQ(theory.Layout(structure), theory.Layout(normal));
}

// A chain of supports as deep as the theory is long: s0 <- s1 <- ... <- sN.
static TListOfKorvelSentences SupportChain(int length, bool closeTheCircle) {
  TListOfKorvelSentences list;
  std::vector<SentencePtr> statements;
  for (int i = 0; i <= length; ++i) statements.push_back(MakeElementarySentence("s" + std::to_string(i)));
  for (int i = 0; i < length; ++i) {
    auto conditional = std::make_shared<TKorvelConditional>();
    conditional->Antecedents.push_back(statements[static_cast<size_t>(i + 1)]);
    conditional->Consequent = statements[static_cast<size_t>(i)];
    RebuildText(*conditional);
    list.push_back(conditional);
  }
  if (closeTheCircle) {
    auto back = std::make_shared<TKorvelConditional>();
    back->Antecedents.push_back(statements.front());
    back->Consequent = statements.back();
    RebuildText(*back);
    list.push_back(back);
  }
  for (const SentencePtr& s : statements) list.push_back(s);
  for (const SentencePtr& s : list) s->IsAssumption = true;
  return list;
}

TEST(DiagramLayout, DeepSupportChainIsLaidOutWithoutExhaustingTheStack) {
  const int length = 50000;
  TDrawContext context;
  DrawArguments(context, SupportChain(length, false), 0, 0);
  EXPECT_EQ(context.RowsUsed, length + 1);
  const TDrawCall& last = context.Drawing.Calls.back();
  EXPECT_EQ(last.Kind, TDrawCall::TKind::Box);
  EXPECT_EQ(last.Column, length);
  EXPECT_EQ(last.Row, length);
  EXPECT_EQ(last.Sentence->Text, "s" + std::to_string(length));
}

TEST(DiagramLayout, DeepCircleEndsInACycleMarkUnderItsStart) {
  const int length = 30000;
  TDrawContext context;
  DrawArguments(context, SupportChain(length, true), 0, 0);
  // Every statement is a reason, s0 of the circle's last link; s0 is the first root.
  ASSERT_GE(context.Drawing.Calls.size(), 3u);
  const auto& calls = context.Drawing.Calls;
  const TDrawCall& mark = calls[calls.size() - 2];
  EXPECT_EQ(mark.Kind, TDrawCall::TKind::Cycle);
  EXPECT_EQ(calls.back().Sentence->Text, calls.front().Sentence->Text);
  EXPECT_EQ(context.RowsUsed, length + 2);
}

TEST(DiagramLayout, SharedSubtreesStopAtTheNodeBudget) {
  // Each level supports the next twice, so the unfolded tree doubles per level.
  const int levels = 40;
  TListOfKorvelSentences list;
  std::vector<SentencePtr> statements;
  for (int i = 0; i <= levels; ++i) statements.push_back(MakeElementarySentence("d" + std::to_string(i)));
  for (int i = 0; i < levels; ++i)
    for (const char* extra : {"a", "b"}) {
      auto conditional = std::make_shared<TKorvelConditional>();
      conditional->Antecedents.push_back(statements[static_cast<size_t>(i + 1)]);
      conditional->Antecedents.push_back(MakeElementarySentence(extra + std::to_string(i)));
      conditional->Consequent = statements[static_cast<size_t>(i)];
      RebuildText(*conditional);
      TPartsCollector collector(list);
      collector.Collect(conditional);
      list = collector.TakeParts();
    }
  for (const SentencePtr& s : list) s->IsAssumption = true;

  TDrawContext context;
  context.NodeBudget = 5000;
  DrawArguments(context, list, 0, 0);
  EXPECT_TRUE(context.Truncated);
  EXPECT_LE(context.Drawing.Calls.size(), 3 * 5000 + 10 * list.size());

  TDrawContext small;
  DrawArguments(small, SupportChain(10, false), 0, 0);
  EXPECT_FALSE(small.Truncated);
}

TEST(DiagramLayout, ReasonsBoxRowHoldsTheHitStripOfItsConditional) {
  TTestTheory theory({"if(a, b, s)", "if(q, x(s))"}, {"s", "t"});
  TDrawContext context;
  theory.Layout(context);
  auto frameOf = [&](const std::string& text) {
    for (const TDiagramElement& e : context.Drawing.Elements)
      if (e.Kind == TElementKind::Frame && e.Tag == context.DrawnIndexOfText(text)) return e;
    return TDiagramElement{};
  };
  const int conjunctive = context.DrawnIndexOfText("if(a, b, s)");
  EXPECT_EQ(context.Drawing.LastShapeTagAtTop(frameOf("a").Bounds.Top + 9), conjunctive);
  EXPECT_EQ(context.Drawing.LastShapeTagAtTop(frameOf("b").Bounds.Top + 9), conjunctive);
  EXPECT_EQ(context.Drawing.LastShapeTagAtTop(frameOf("q").Bounds.Top + 9), context.DrawnIndexOfText("if(q, x(s))"));
  EXPECT_EQ(context.Drawing.LastShapeTagAtTop(frameOf("s").Bounds.Top + 9), -1);
  EXPECT_EQ(context.Drawing.LastShapeTagAtTop(frameOf("t").Bounds.Top + 9), -1);
}

TEST(DiagramLayout, RedrawingTheDrawnSentencesOrAListWithHolesIsSafe) {
  TTestTheory theory({"if(p, s)"}, {"s"});
  TDrawContext context;
  const std::string first = theory.Layout(context);
  DrawArguments(context, context.DrawnSentences, 0, 0);
  std::ostringstream again;
  WriteLayoutLines(context, again);
  EXPECT_EQ(again.str(), first);

  TListOfKorvelSentences holes = theory.All;
  holes.insert(holes.begin() + 1, nullptr);
  holes.push_back(nullptr);
  DrawArguments(context, holes, 0, 0);
  std::ostringstream withHoles;
  WriteLayoutLines(context, withHoles);
  EXPECT_EQ(withHoles.str(), first);
}

TEST(DiagramLayout, AttacksReasonIsTheTheorysAssumptionSupportsReasonTheCandidate) {
  TKorvelTheory theory;
  theory.Assumptions.push_back(MakeElementarySentence("r"));
  theory.Assumptions.back()->IsAssumption = true;
  auto s = MakeElementarySentence("s");
  s->IsIssue = true;
  auto conditional = [](const char* reason, const SentencePtr& consequent) {
    auto c = std::make_shared<TKorvelConditional>();
    c->Antecedents.push_back(MakeElementarySentence(reason));  // an object of its own
    c->Consequent = consequent;
    RebuildText(*c);
    c->IsAssumption = true;
    return c;
  };
  auto attack = conditional("r", MakeDialecticalNegation(s));
  auto support = conditional("q", s);
  auto listedQ = MakeElementarySentence("q");
  listedQ->IsAssumption = true;
  TDrawContext context;
  context.Theory = &theory;
  DrawArguments(context, {s, attack, support, listedQ}, 0, 0);
  const int r = context.DrawnIndexOfText("r");
  const int q = context.DrawnIndexOfText("q");
  ASSERT_GE(r, 0);
  ASSERT_GE(q, 0);
  EXPECT_EQ(context.DrawnSentences[static_cast<size_t>(r)], theory.Assumptions.front());
  EXPECT_EQ(context.DrawnSentences[static_cast<size_t>(q)], listedQ);
}

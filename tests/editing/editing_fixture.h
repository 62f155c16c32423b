// A document with its diagram, selection, log and argument editor, run in a
// fresh working directory (where "~tmp.kvl" is written) with a log of its
// own, and helpers that act as the user does: click a box, type, press keys.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "diagram/diagram_layout.h"
#include "editing/argument_editor.h"

// The placeholder's text, shortened for expectations.
extern const std::string P;

// Normal-form file text of a theory given by text forms (each parsed).
std::string TheoryText(const std::vector<std::string>& assumptions, const std::vector<std::string>& issues);

class TNoDialogsUi : public TDocumentUi {
 public:
  std::optional<std::string> ChooseFileToOpen() override { return std::nullopt; }
  std::optional<std::string> ChooseFileToSave() override { return std::nullopt; }
  TAnswer AskToSave(const std::string&) override { return TAnswer::No; }
  void ShowFileError(const std::string& message) override { Errors.push_back(message); }
  std::vector<std::string> Errors;
};

class TEditingTest : public ::testing::Test {
 protected:
  TEditingTest();
  ~TEditingTest() override;

  // Makes the theory the document's, as opening a file would (the issues the
  // refresh adds are written too), and starts the log afresh.
  void Load(const std::vector<std::string>& assumptions, const std::vector<std::string>& issues = {});

  // --- the user's hands
  // Element index of the n-th sentence frame showing the text.
  int FrameOf(const std::string& text, int nth = 0) const;
  // Element index of the first hit strip of the conditional with the text.
  int HitStripOf(const std::string& text) const;
  void Click(const std::string& text, int nth = 0);
  void ClickElement(int element);
  void ClickSurface(int x, int y);
  void DoubleClick(const std::string& text);
  void Type(const std::string& text) { editor.SetStatementText(text); }
  void Enter() { editor.ComboBox1KeyDown(kEnterKey); }
  void Escape() { editor.ComboBox1KeyDown(kEscapeKey); }
  void TypeAndEnter(const std::string& text) {
    Type(text);
    Enter();
  }

  // --- what there is to see
  std::vector<std::string> Assumptions() const;
  std::vector<std::string> Issues() const;
  // Messages logged since the last Load (or since the start), time stamps removed.
  std::vector<std::string> NewLog() const;
  void ForgetLog() { logMark_ = log.LogLines().size(); }
  std::string ScratchBytes() const;
  // Text of the sentence at a diagram index; "-" for none.
  std::string DrawnText(int index) const;
  std::string Selected() const { return DrawnText(selection.SelectedIndex); }
  std::string Offered() const { return DrawnText(selection.OfferedIndex); }
  std::string RowConditional() const { return DrawnText(selection.RowConditionalIndex); }
  int RowOf(const std::string& text) const;

  std::filesystem::path directory_;
  std::filesystem::path previousDirectory_;
  TNoDialogsUi ui;
  TActionLog log;
  TDrawContext diagram;
  // After a refresh the drawing looks its roles up in the document's theory.
  struct TRefreshedDiagram : TDocumentListener {
    TEditingTest& Test;
    explicit TRefreshedDiagram(TEditingTest& test) : Test(test) {}
    void Refreshed() override { Test.diagram.Theory = &Test.document.EditableTheory(); }
  } refreshed_{*this};
  TDocument document{ui, log};
  TSelectionState selection;
  TArgumentEditor editor{document, diagram, selection, log};

 private:
  size_t logMark_ = 0;
};

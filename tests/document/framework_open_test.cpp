// File -> Open with an argumentation framework: it becomes a new, unsaved
// theory; a malformed one shows the error and leaves the document alone.
#include <gtest/gtest.h>

#include <fstream>

#include "document/document.h"
#include "document/framework_import.h"
#include "tests/document/scripted_document_ui.h"
#include "tests/document/temporary_directory.h"

namespace {

class FrameworkOpenTest : public ::testing::Test {
 protected:
  FrameworkOpenTest() : log_([] { return std::string("10:00:00"); }), document_(ui_, log_) {
    document_.SetScratchFallbackDirectory(work_.File("fallback"));
    document_.New();
    log_.Open({work_.File("log")});
  }

  std::string Write(const std::string& name, const std::string& content) {
    const std::string path = work_.File(name);
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  std::vector<std::string> AssumptionTexts() const {
    std::vector<std::string> texts;
    for (const auto& sentence : document_.Theory().Assumptions) texts.push_back(sentence->Text);
    return texts;
  }

  TTemporaryDirectory work_{true};
  TScriptedDocumentUi ui_;
  TActionLog log_;
  TDocument document_;
};

TEST_F(FrameworkOpenTest, AFrameworkOpensAsANewUnsavedTheoryInEveryFormat) {
  const std::vector<std::string> expected = {"a", "b", "if(a, x(b))"};
  for (const auto& [name, content] : std::vector<std::pair<std::string, std::string>>{
           {"f.apx", "arg(a).\narg(b).\natt(a,b).\n"}, {"f.tgf", "a\nb\n#\na b\n"}}) {
    ui_.OpenAnswers = {Write(name, content)};
    ASSERT_TRUE(document_.Open()) << name;
    EXPECT_EQ(AssumptionTexts(), expected) << name;
    EXPECT_EQ(document_.CurrentFileName(), "") << name;
    EXPECT_EQ(document_.HasUnsavedChanges(), true) << name;
    // The one stable extension {a} is the one interpretation: b is defeated.
    ASSERT_EQ(document_.Interpretations().size(), 1u) << name;
    EXPECT_TRUE(document_.Theory().Assumptions[1]->IsDefeated) << name;
    ui_.Answers = {TDocumentUi::TAnswer::No};  // the next Open asks about the import
  }
  ui_.OpenAnswers = {Write("f.af", "p af 2\n2 1\n")};
  ASSERT_TRUE(document_.Open());
  EXPECT_EQ(AssumptionTexts(), (std::vector<std::string>{"1", "2", "if(2, x(1))"}));
  EXPECT_EQ(log_.LogLines().back(), "[10:00:00]  Import framework:" + work_.File("f.af"));
}

TEST_F(FrameworkOpenTest, AMalformedFrameworkShowsWhereAndChangesNothing) {
  const std::string before = document_.TheoryFile().FileBytes();
  ui_.OpenAnswers = {Write("bad.af", "p af 2\n1 2\n1 3\n")};
  EXPECT_FALSE(document_.Open());
  ASSERT_EQ(ui_.Errors.size(), 1u);
  EXPECT_NE(ui_.Errors[0].find("bad.af:3: attack on undeclared argument 3"), std::string::npos)
      << ui_.Errors[0];
  EXPECT_EQ(document_.TheoryFile().FileBytes(), before);
}

TEST(FrameworkImport, FrameworkFilesAreToldByTheirExtension) {
  for (const char* name : {"x.af", "dir/x.i23", "x.apx", "x.tgf"})
    EXPECT_TRUE(IsFrameworkFileName(name)) << name;
  for (const char* name : {"x.kvl", "x", "af", "dir.af/x", "x.AF"})
    EXPECT_FALSE(IsFrameworkFileName(name)) << name;
}

}  // namespace

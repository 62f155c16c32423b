// The placeholder of Support, Attack and Add conjunct never stays in the
// theory unseen: the statement box opens over it wherever it is drawn.
#include <algorithm>

#include "tests/editing/editing_fixture.h"

namespace {

class TPlaceholderTest : public TEditingTest {};

TEST_F(TPlaceholderTest, SupportOnALowerLinkBarOpensTheBoxOverThePlaceholder) {
  Load({"if(a, b)", "if(c, b)", "if(d, if(c, b))", "if(e, x(if(a, b)))"});
  for (const std::string conditional : {"if(a, b)", "if(c, b)", "if(d, if(c, b))", "if(e, x(if(a, b)))"}) {
    for (bool attack : {false, true}) {
      SCOPED_TRACE(conditional + (attack ? " attack" : " support"));
      ClickElement(HitStripOf(conditional));
      ASSERT_EQ(Selected(), conditional);
      if (attack)
        editor.Attack1Click();
      else
        editor.Givesupport1Click();
      ASSERT_TRUE(editor.StatementBox().Visible);
      EXPECT_EQ(Selected(), P);
      Escape();
      EXPECT_EQ(ScratchBytes().find(P), std::string::npos);
    }
  }
  // Enter fills the reason in where the box opened.
  ClickElement(HitStripOf("if(d, if(c, b))"));
  editor.Givesupport1Click();
  TypeAndEnter("r");
  EXPECT_EQ(ScratchBytes().find(P), std::string::npos);
  EXPECT_NE(ScratchBytes().find("r\r\n"), std::string::npos);
  const auto assumptions = Assumptions();
  EXPECT_NE(std::find(assumptions.begin(), assumptions.end(), "if(r, if(d, if(c, b)))"), assumptions.end());
}

}  // namespace

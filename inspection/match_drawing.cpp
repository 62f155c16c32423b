#include "inspection/match_drawing.h"

#include "diagram/diagram_layout.h"

void DrawMatchDiagram(TDrawContext& matchContext, const TMatchReport& report,
                      TKorvelTheory* mainTheory) {
  matchContext.Theory = mainTheory;
  matchContext.RegistrationAddsIssues = false;
  DrawArguments(matchContext, report.DrawnResults, 0, 0);
}

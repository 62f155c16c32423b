// Draws a Match run's instantiated sentences into the match window's own
// drawing context. The context keeps its own list of drawn sentences, so the
// main diagram's indices keep naming what the user clicked, and registration
// looks roles up in the main theory without adding anything to it: the
// instantiated sentences never change the theory.
#pragma once

#include "diagram/draw_context.h"
#include "inspection/match_report.h"

void DrawMatchDiagram(TDrawContext& matchContext, const TMatchReport& report,
                      TKorvelTheory* mainTheory);

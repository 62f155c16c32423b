#include "diagram/diagram_redraw.h"

#include <utility>
#include <vector>

#include "diagram/diagram_shapes.h"

void RedrawCalls(TDrawContext& context) {
  // The shapes record their calls anew as they draw.
  std::vector<TDrawCall> calls = std::move(context.Drawing.Calls);
  context.Drawing.Calls.clear();
  context.Drawing.Calls.reserve(calls.size());
  context.Drawing.Elements.clear();  // keeps the room for as many again
  context.Drawing.Captions.clear();
  for (const TDrawCall& call : calls) {
    switch (call.Kind) {
      case TDrawCall::TKind::Box:
        DrawSentenceBox(context, call.Sentence, call.Column, call.Row, call.MinimumWidth);
        break;
      case TDrawCall::TKind::Cycle:
        DrawCycleMark(context, call.Column, call.Row);
        break;
      case TDrawCall::TKind::Link:
        DrawLink(context, call.Sentence, call.Marker, call.Shape, call.FromColumn, call.FromRow, call.ToColumn,
                 call.ToRow);
        break;
    }
  }
}

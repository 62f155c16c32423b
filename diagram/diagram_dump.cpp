#include "diagram/diagram_dump.h"

#include <ostream>

void WriteLayoutLines(const TDrawContext& context, std::ostream& out) {
  for (const TDrawCall& call : context.Drawing.Calls) {
    switch (call.Kind) {
      case TDrawCall::TKind::Box:
        out << "box " << call.Row << ' ' << call.Column << ' ' << call.MinimumWidth << ' ' << call.Tag << ' '
            << call.Sentence->Text << '\n';
        break;
      case TDrawCall::TKind::Cycle:
        out << "cycle " << call.Row << ' ' << call.Column << '\n';
        break;
      case TDrawCall::TKind::Link:
        out << "link " << LinkShapeName(call.Shape) << ' ' << (call.Marker ? 1 : 0) << ' ' << call.FromColumn << ' '
            << call.FromRow << ' ' << call.ToColumn << ' ' << call.ToRow << ' ' << call.Tag << ' '
            << call.Sentence->Text << '\n';
        break;
    }
  }
  out << "rows " << context.RowsUsed << '\n';
}

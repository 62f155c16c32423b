#include "diagram/diagram_redraw.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "diagram/diagram_shapes.h"

void RedrawCalls(TDrawContext& context) {
  TDiagramDrawing& drawing = context.Drawing;
  drawing.Elements.clear();  // keeps the room for as many again
  drawing.Captions.clear();
  drawing.MarksPending = false;
  if (!drawing.Calls.empty())
    drawing.DrawnOptions = DrawOptionsOf(context.StructureOnly, context.ShowDialecticalNegations);
  DrawRecordedElements(context, 0);
}

bool CallsRedrawableInPlace(const TDrawContext& context) {
  const TDiagramDrawing& drawing = context.Drawing;
  return !drawing.Calls.empty() && drawing.Calls.front().FirstElement == 0 &&
         drawing.DrawnOptions == DrawOptionsOf(context.StructureOnly, context.ShowDialecticalNegations);
}

bool MarkCallsStale(TDrawContext& context) {
  if (!CallsRedrawableInPlace(context)) return false;
  TDiagramDrawing& drawing = context.Drawing;
  ++drawing.Marks;
  drawing.MarksPending = true;
  return true;
}

size_t CallOfElement(const TDiagramDrawing& drawing, size_t element) {
  // The last call whose first element is at or before it.
  auto after = std::upper_bound(drawing.Calls.begin(), drawing.Calls.end(), element,
                                [](size_t e, const TDrawCall& call) { return e < call.FirstElement; });
  return after == drawing.Calls.begin() ? 0 : static_cast<size_t>(after - drawing.Calls.begin()) - 1;
}

void ResolveElements(TDrawContext& context, const std::vector<int>& elements) {
  TDiagramDrawing& drawing = context.Drawing;
  // Under other options the calls would draw other elements: those shown
  // keep their old marks until the drawing is replaced.
  if (!drawing.MarksPending || !CallsRedrawableInPlace(context)) return;
  size_t call = drawing.Calls.size();  // none looked at yet
  for (int element : elements) {
    const auto e = static_cast<size_t>(element);
    if (call < drawing.Calls.size() && e >= drawing.Calls[call].FirstElement && e < drawing.CallEnd(call)) continue;
    call = CallOfElement(drawing, e);
    if (drawing.Calls[call].Marks != drawing.Marks) DrawCallInPlace(context, call);
  }
}

size_t ResolveCalls(TDrawContext& context, size_t first, size_t count) {
  TDiagramDrawing& drawing = context.Drawing;
  const size_t end = std::min(drawing.Calls.size(), first + count);
  if (!drawing.MarksPending || !CallsRedrawableInPlace(context)) return end;
  for (size_t call = first; call < end; ++call)
    if (drawing.Calls[call].Marks != drawing.Marks) DrawCallInPlace(context, call);
  if (end == drawing.Calls.size() && first == 0) drawing.MarksPending = false;
  return end;
}

void ResolveAllMarks(TDrawContext& context) { ResolveCalls(context, 0, context.Drawing.Calls.size()); }

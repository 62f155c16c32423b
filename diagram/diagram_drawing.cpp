#include "diagram/diagram_drawing.h"

#include <algorithm>

bool IsShapeKind(TElementKind kind) {
  switch (kind) {
    case TElementKind::Frame:
    case TElementKind::Bar:
    case TElementKind::HitStrip:
    case TElementKind::Stroke:
      return true;
    case TElementKind::Label:
    case TElementKind::StatusIcons:
    case TElementKind::CycleMark:
      return false;
  }
  return false;
}

const char* LinkShapeName(TLinkShape shape) {
  switch (shape) {
    case TLinkShape::BoxDropSupport: return "BoxDropSupport";
    case TLinkShape::BoxDropAttack: return "BoxDropAttack";
    case TLinkShape::BranchSupport: return "BranchSupport";
    case TLinkShape::BranchAttack: return "BranchAttack";
    case TLinkShape::BarDropSupport: return "BarDropSupport";
    case TLinkShape::BarDropAttack: return "BarDropAttack";
  }
  return "";
}

bool IsBoxDrop(TLinkShape shape) {
  return shape == TLinkShape::BoxDropSupport || shape == TLinkShape::BoxDropAttack;
}

bool IsBarDrop(TLinkShape shape) {
  return shape == TLinkShape::BarDropSupport || shape == TLinkShape::BarDropAttack;
}

void TDiagramDrawing::Clear() {
  Elements.clear();
  Captions.clear();
  Calls.clear();
  DrawnOptions = kNoOptionsYet;
  MarksPending = false;
}

TDrawCall& TDiagramDrawing::RecordCall(TDrawCall::TKind kind, int options) {
  if (Calls.empty())
    DrawnOptions = options;
  else if (DrawnOptions != options)
    DrawnOptions = kMixedOptions;
  TDrawCall& call = Calls.emplace_back();
  call.Kind = kind;
  call.FirstElement = static_cast<std::uint32_t>(Elements.size());
  call.Marks = Marks;
  return call;
}

const std::string& TDiagramDrawing::CaptionOf(const TDiagramElement& element) const {
  static const std::string none;
  if (element.Caption < 0 || static_cast<size_t>(element.Caption) >= Captions.size()) return none;
  return Captions[static_cast<size_t>(element.Caption)];
}

int TDiagramDrawing::LastShapeTagAtTop(int top) const {
  for (auto it = Elements.rbegin(); it != Elements.rend(); ++it)
    if (IsShapeKind(it->Kind) && it->Bounds.Top == top) return it->Tag;
  return -1;
}

int TDiagramDrawing::Width() const {
  int width = 0;
  for (const TDiagramElement& element : Elements) width = std::max(width, element.Bounds.Right());
  return width;
}

int TDiagramDrawing::Height() const {
  int height = 0;
  for (const TDiagramElement& element : Elements) height = std::max(height, element.Bounds.Bottom());
  return height;
}

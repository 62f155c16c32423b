#include "diagram/hit_index.h"

#include <algorithm>

void THitIndex::Clear() { bands_.clear(); }

void THitIndex::Build(const TDiagramDrawing& drawing) {
  bands_.clear();
  bands_.resize(static_cast<size_t>(drawing.Height() / kBandHeight + 1));
  for (size_t i = 0; i < drawing.Elements.size(); ++i) {
    const TBounds& bounds = drawing.Elements[i].Bounds;
    if (bounds.Width <= 0 || bounds.Height <= 0 || bounds.Bottom() <= 0) continue;
    const int first = std::max(bounds.Top, 0) / kBandHeight;
    const int last = (bounds.Bottom() - 1) / kBandHeight;
    for (int band = first; band <= last; ++band) bands_[static_cast<size_t>(band)].push_back(static_cast<int>(i));
  }
}

const std::vector<int>* THitIndex::BandAt(int y) const {
  if (y < 0) return nullptr;
  const size_t band = static_cast<size_t>(y / kBandHeight);
  return band < bands_.size() ? &bands_[band] : nullptr;
}

std::vector<int> THitIndex::Intersecting(const TDiagramDrawing& drawing, const TBounds& area) const {
  std::vector<int> found;
  if (bands_.empty() || area.Width <= 0 || area.Height <= 0 || area.Bottom() <= 0) return found;
  const size_t first = static_cast<size_t>(std::max(area.Top, 0) / kBandHeight);
  const size_t last = std::min(bands_.size() - 1, static_cast<size_t>((area.Bottom() - 1) / kBandHeight));
  for (size_t band = first; band <= last; ++band) {
    for (int index : bands_[band]) {
      const TBounds& b = drawing.Elements[static_cast<size_t>(index)].Bounds;
      if (b.Left < area.Right() && area.Left < b.Right() && b.Top < area.Bottom() && area.Top < b.Bottom())
        found.push_back(index);
    }
  }
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  return found;
}

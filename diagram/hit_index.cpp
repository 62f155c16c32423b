#include "diagram/hit_index.h"

#include <algorithm>

namespace {

bool Indexed(const TBounds& bounds) { return bounds.Width > 0 && bounds.Height > 0 && bounds.Bottom() > 0; }

// Frames and bars are what the selection's outline rings.
bool Outlines(const TDiagramElement& element) {
  return element.Tag >= 0 && (element.Kind == TElementKind::Frame || element.Kind == TElementKind::Bar);
}

}  // namespace

void THitIndex::Clear() {
  levels_.clear();
  tagStart_.clear();
  tagged_.clear();
  built_ = false;
  elements_ = 0;
  width_ = height_ = 0;
}

void THitIndex::Build(const TDiagramDrawing& drawing) {
  levels_.clear();
  built_ = true;
  const std::vector<TDiagramElement>& elements = drawing.Elements;
  const size_t count = elements.size();
  elements_ = count;
  // A large drawing's elements fill far more memory than the caches hold, so
  // the index is made in three passes over them, each doing all it can.
  // First the drawing's size (as TDiagramDrawing::Width and Height give it)
  // and how many frames and bars each tag has.
  width_ = height_ = 0;
  tagStart_.assign(1, 0);
  for (const TDiagramElement& element : elements) {
    width_ = std::max(width_, element.Bounds.Right());
    height_ = std::max(height_, element.Bounds.Bottom());
    if (!Outlines(element)) continue;
    const size_t slot = static_cast<size_t>(element.Tag) + 1;
    if (slot >= tagStart_.size()) tagStart_.resize(slot + 1, 0);
    ++tagStart_[slot];
  }
  for (size_t t = 1; t < tagStart_.size(); ++t) tagStart_[t] += tagStart_[t - 1];
  tagged_.resize(tagStart_.back());
  std::vector<size_t> nextTagged(tagStart_.begin(), tagStart_.end() - 1);

  // Band heights up to one band for the whole drawing.
  const int height = height_;
  if (height > 0) {
    for (long long band = kBandHeight;; band *= kLevelFactor) {
      TLevel& level = levels_.emplace_back();
      level.BandHeight = static_cast<int>(band);
      level.Start.assign(static_cast<size_t>(height / band + 2), 0);
      if (band >= height) break;
    }
  }
  // Then the level of each element and the bands counted; last the bands
  // and the tags filled: every band and tag ends up in creation order.
  std::vector<unsigned char> levelOf(levels_.empty() ? 0 : count, 0);
  auto bandsOf = [](const TBounds& b, int bandHeight) {
    return std::pair<size_t, size_t>(static_cast<size_t>(std::max(b.Top, 0) / bandHeight),
                                     static_cast<size_t>((b.Bottom() - 1) / bandHeight));
  };
  if (!levels_.empty()) {
    for (size_t i = 0; i < count; ++i) {
      const TBounds& bounds = elements[i].Bounds;
      if (!Indexed(bounds)) continue;
      size_t l = 0;
      while (l + 1 < levels_.size()) {
        const auto [first, last] = bandsOf(bounds, levels_[l].BandHeight);
        if (last - first <= 1) break;
        ++l;
      }
      levelOf[i] = static_cast<unsigned char>(l);
      const auto [first, last] = bandsOf(bounds, levels_[l].BandHeight);
      for (size_t band = first; band <= last; ++band) ++levels_[l].Start[band + 1];
    }
  }
  for (TLevel& level : levels_) {
    for (size_t band = 1; band < level.Start.size(); ++band) level.Start[band] += level.Start[band - 1];
    level.Elements.resize(level.Start.back());
  }
  std::vector<std::vector<size_t>> next(levels_.size());
  for (size_t l = 0; l < levels_.size(); ++l) next[l].assign(levels_[l].Start.begin(), levels_[l].Start.end() - 1);
  for (size_t i = 0; i < count; ++i) {
    const TDiagramElement& element = elements[i];
    if (Outlines(element)) tagged_[nextTagged[static_cast<size_t>(element.Tag)]++] = static_cast<int>(i);
    if (levels_.empty() || !Indexed(element.Bounds)) continue;
    TLevel& level = levels_[levelOf[i]];
    const auto [first, last] = bandsOf(element.Bounds, level.BandHeight);
    for (size_t band = first; band <= last; ++band) level.Elements[next[levelOf[i]][band]++] = static_cast<int>(i);
  }
}

std::vector<int> THitIndex::Intersecting(const TDiagramDrawing& drawing, const TBounds& area) const {
  std::vector<int> found;
  if (!Indexed(area)) return found;
  for (const TLevel& level : levels_) {
    const size_t bands = level.Start.size() - 1;
    const size_t first = static_cast<size_t>(std::max(area.Top, 0) / level.BandHeight);
    const size_t last = std::min(bands - 1, static_cast<size_t>((area.Bottom() - 1) / level.BandHeight));
    for (size_t band = first; band <= last && band < bands; ++band) {
      for (size_t i = level.Start[band]; i < level.Start[band + 1]; ++i) {
        const int index = level.Elements[i];
        const TBounds& b = drawing.Elements[static_cast<size_t>(index)].Bounds;
        if (b.Left < area.Right() && area.Left < b.Right() && b.Top < area.Bottom() && area.Top < b.Bottom())
          found.push_back(index);
      }
    }
  }
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  return found;
}

std::vector<int> THitIndex::OutlineOf(const TDiagramDrawing& drawing, int tag) const {
  std::vector<int> frames, bars;
  if (tag < 0 || static_cast<size_t>(tag) + 1 >= tagStart_.size()) return frames;
  for (size_t i = tagStart_[static_cast<size_t>(tag)]; i < tagStart_[static_cast<size_t>(tag) + 1]; ++i) {
    const int element = tagged_[i];
    if (drawing.Elements[static_cast<size_t>(element)].Kind == TElementKind::Frame)
      frames.push_back(element);
    else
      bars.push_back(element);
  }
  return frames.empty() ? bars : frames;
}

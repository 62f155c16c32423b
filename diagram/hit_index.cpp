#include "diagram/hit_index.h"

#include <algorithm>
#include <utility>

#include "logic/work_in_parts.h"

namespace {

// Below this many elements a part is not worth a thread of its own.
constexpr size_t kElementsPerPart = 1 << 16;

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

void THitIndex::Build(const TDiagramDrawing& drawing, size_t parts) {
  levels_.clear();
  built_ = true;
  const std::vector<TDiagramElement>& elements = drawing.Elements;
  const size_t count = elements.size();
  elements_ = count;
  if (parts == 0) parts = PartsFor(count, kElementsPerPart);
  parts = std::max<size_t>(1, std::min(parts, std::max<size_t>(count, 1)));
  auto rangeOf = [&](size_t part) { return PartRange(count, parts, part); };

  // A large drawing's elements fill far more memory than the caches hold, so
  // the index is made in three passes over them, each doing all it can, each
  // split into parts of consecutive elements run at once. Every part counts
  // for itself; a later part's entries go after an earlier part's, so every
  // band and tag ends up in creation order as in one pass.
  //
  // First the drawing's size (as TDiagramDrawing::Width and Height give it)
  // and how many frames and bars each tag has.
  struct TPart {
    int Width = 0, Height = 0;
    std::vector<size_t> Tagged;                // per tag, then where the part's next goes
    std::vector<std::vector<size_t>> InBands;  // per level and band, the same
  };
  std::vector<TPart> counted(parts);
  RunInParts(parts, [&](size_t part) {
    TPart& mine = counted[part];
    const auto [begin, end] = rangeOf(part);
    for (size_t i = begin; i < end; ++i) {
      const TDiagramElement& element = elements[i];
      mine.Width = std::max(mine.Width, element.Bounds.Right());
      mine.Height = std::max(mine.Height, element.Bounds.Bottom());
      if (!Outlines(element)) continue;
      const size_t tag = static_cast<size_t>(element.Tag);
      if (tag >= mine.Tagged.size()) mine.Tagged.resize(tag + 1, 0);
      ++mine.Tagged[tag];
    }
  });
  width_ = height_ = 0;
  size_t tags = 0;
  for (const TPart& part : counted) {
    width_ = std::max(width_, part.Width);
    height_ = std::max(height_, part.Height);
    tags = std::max(tags, part.Tagged.size());
  }
  tagStart_.assign(tags + 1, 0);
  for (size_t t = 0; t < tags; ++t) {
    size_t next = tagStart_[t];
    for (TPart& part : counted) {
      const size_t own = t < part.Tagged.size() ? part.Tagged[t] : 0;
      if (t < part.Tagged.size()) part.Tagged[t] = next;
      next += own;
    }
    tagStart_[t + 1] = next;
  }
  tagged_.resize(tagStart_.back());

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
  // and the tags filled.
  std::vector<unsigned char> levelOf(levels_.empty() ? 0 : count, 0);
  auto bandsOf = [](const TBounds& b, int bandHeight) {
    return std::pair<size_t, size_t>(static_cast<size_t>(std::max(b.Top, 0) / bandHeight),
                                     static_cast<size_t>((b.Bottom() - 1) / bandHeight));
  };
  if (!levels_.empty()) {
    RunInParts(parts, [&](size_t part) {
      std::vector<std::vector<size_t>>& inBands = counted[part].InBands;
      for (const TLevel& level : levels_) inBands.emplace_back(level.Start.size() - 1, 0);
      const auto [begin, end] = rangeOf(part);
      for (size_t i = begin; i < end; ++i) {
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
        for (size_t band = first; band <= last; ++band) ++inBands[l][band];
      }
    });
  }
  for (size_t l = 0; l < levels_.size(); ++l) {
    TLevel& level = levels_[l];
    size_t next = 0;
    for (size_t band = 0; band + 1 < level.Start.size(); ++band) {
      level.Start[band] = next;
      for (TPart& part : counted) next += std::exchange(part.InBands[l][band], next);
    }
    level.Start.back() = next;
    level.Elements.resize(next);
  }
  RunInParts(parts, [&](size_t part) {
    TPart& mine = counted[part];
    const auto [begin, end] = rangeOf(part);
    for (size_t i = begin; i < end; ++i) {
      const TDiagramElement& element = elements[i];
      if (Outlines(element)) tagged_[mine.Tagged[static_cast<size_t>(element.Tag)]++] = static_cast<int>(i);
      if (levels_.empty() || !Indexed(element.Bounds)) continue;
      const size_t l = levelOf[i];
      TLevel& level = levels_[l];
      const auto [first, last] = bandsOf(element.Bounds, level.BandHeight);
      for (size_t band = first; band <= last; ++band) level.Elements[mine.InBands[l][band]++] = static_cast<int>(i);
    }
  });
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

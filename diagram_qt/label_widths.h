// The widths of label texts in one font. Shaping a text costs far more than
// looking its width up, and a diagram shows the same texts in every drawing
// (a text drawn in many boxes many times), so widths are kept per label
// style, in a cache that the drawings made in one font share, on any thread.
#pragma once

#include <QFont>
#include <QString>
#include <atomic>
#include <memory>
#include <string_view>
#include <thread>
#include <vector>

#include "diagram/draw_context.h"

class TLabelWidthCache;
std::shared_ptr<TLabelWidthCache> NewLabelWidthCache();

// Makes the context measure label texts (and their height) in the font, as
// the surface that shows the drawing does, keeping the widths in the cache
// (which must hold widths of this font only).
void MeasureTextWith(TDrawContext& context, const QFont& font,
                     std::shared_ptr<TLabelWidthCache> cache = NewLabelWidthCache());

// One label a drawing is about to show: its text and style.
struct TLabelToMeasure {
  std::string_view Text;
  TFontStyle Style = TFontStyle::Regular;
};

// Measures into the cache, in the font, the labels it does not hold yet,
// in their order, until `stop` is set: run beside a layout, which then finds
// its labels' widths ready. The texts must outlive the call.
void MeasureLabelsAhead(const QFont& font, TLabelWidthCache& cache, const std::vector<TLabelToMeasure>& labels,
                        const std::atomic<bool>& stop);

// The labels of a layout's boxes, with the style each will be drawn in (as
// far as the sentences' marks tell now), and the cycle mark's "...".
std::vector<TLabelToMeasure> LabelsOfBoxes(const TListOfKorvelSentences& sentences, bool withStatuses,
                                           bool showDialecticalNegations);

// Measures labels ahead, on a thread of its own, from construction until
// destruction, which stops it and waits for it. The font is given by its
// description: the thread makes its own font and metrics from it.
class TMeasuringAhead {
 public:
  TMeasuringAhead(const QString& font, std::shared_ptr<TLabelWidthCache> cache, std::vector<TLabelToMeasure> labels);
  ~TMeasuringAhead();
  TMeasuringAhead(const TMeasuringAhead&) = delete;
  TMeasuringAhead& operator=(const TMeasuringAhead&) = delete;

 private:
  std::atomic<bool> stop_{false};
  std::vector<TLabelToMeasure> labels_;
  std::shared_ptr<TLabelWidthCache> cache_;
  std::jthread thread_;  // last: starts once the others exist
};

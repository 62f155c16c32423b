#include "diagram_qt/label_widths.h"

#include <QFontMetrics>
#include <array>
#include <mutex>
#include <string>
#include <unordered_map>

#include "diagram_qt/diagram_painter.h"
#include "diagram_qt/qt_text.h"

class TLabelWidthCache {
 public:
  static constexpr size_t kMaxTexts = 200000;  // then it starts afresh

  // The width of the text in the style, measured by `measure` on a miss.
  // The lock is not held while a text is shaped: two threads may then
  // measure one text both, which gives the same width.
  template <class Measure>
  int Width(std::string_view text, TFontStyle style, Measure measure) {
    auto& widths = widths_[static_cast<size_t>(style)];
    {
      std::lock_guard lock(mutex_);
      if (auto found = widths.find(text); found != widths.end()) return found->second;
    }
    const int width = measure();
    std::lock_guard lock(mutex_);
    if (widths.size() >= kMaxTexts) widths.clear();
    widths.emplace(std::string(text), width);
    return width;
  }

 private:
  std::mutex mutex_;
  std::array<std::unordered_map<std::string, int, TTextHash, std::equal_to<>>, 3> widths_;
};

namespace {

// One measure per label style, made once rather than for every label.
using TLabelMeasures = std::array<QFontMetrics, 3>;
TLabelMeasures LabelMeasures(const QFont& font) {
  return {QFontMetrics(LabelFont(font, TFontStyle::Regular)), QFontMetrics(LabelFont(font, TFontStyle::Bold)),
          QFontMetrics(LabelFont(font, TFontStyle::Italic))};
}

// The text's width in the style, from the cache or shaped and kept there.
int CachedWidth(TLabelWidthCache& cache, const TLabelMeasures& measures, std::string_view text, TFontStyle style) {
  return cache.Width(text, style,
                     [&] { return measures[static_cast<size_t>(style)].horizontalAdvance(FromBytes(text)); });
}

}  // namespace

std::shared_ptr<TLabelWidthCache> NewLabelWidthCache() { return std::make_shared<TLabelWidthCache>(); }

void MeasureTextWith(TDrawContext& context, const QFont& font, std::shared_ptr<TLabelWidthCache> cache) {
  context.TextWidth = [measures = LabelMeasures(font), cache = std::move(cache)](std::string_view text,
                                                                                TFontStyle style) {
    return CachedWidth(*cache, measures, text, style);
  };
  context.LabelHeight = QFontMetrics(font).height();
}

void MeasureLabelsAhead(const QFont& font, TLabelWidthCache& cache, const std::vector<TLabelToMeasure>& labels,
                        const std::atomic<bool>& stop) {
  const TLabelMeasures measures = LabelMeasures(font);
  for (const TLabelToMeasure& label : labels) {
    if (stop.load(std::memory_order_relaxed)) return;
    CachedWidth(cache, measures, label.Text, label.Style);
  }
}

std::vector<TLabelToMeasure> LabelsOfBoxes(const TListOfKorvelSentences& sentences, bool withStatuses,
                                           bool showDialecticalNegations) {
  std::vector<TLabelToMeasure> labels;
  labels.reserve(sentences.size() + 1);
  labels.push_back({"...", TFontStyle::Regular});
  for (const SentencePtr& sentence : sentences) {
    if (!sentence) continue;
    if (!showDialecticalNegations && Is<TKorvelDialecticalNegation>(sentence)) continue;
    TLabelToMeasure label;
    label.Text = sentence->Text == kPlaceholderText ? std::string_view("   ") : std::string_view(sentence->Text);
    if (withStatuses)
      label.Style = sentence->IsJustified || sentence->IsDefeated ? TFontStyle::Bold : TFontStyle::Italic;
    labels.push_back(label);
  }
  return labels;
}

TMeasuringAhead::TMeasuringAhead(const QString& font, std::shared_ptr<TLabelWidthCache> cache,
                                 std::vector<TLabelToMeasure> labels)
    : labels_(std::move(labels)), cache_(std::move(cache)), thread_([this, font] {
        QFont measured;
        measured.fromString(font);
        MeasureLabelsAhead(measured, *cache_, labels_, stop_);
      }) {}

TMeasuringAhead::~TMeasuringAhead() { stop_.store(true, std::memory_order_relaxed); }

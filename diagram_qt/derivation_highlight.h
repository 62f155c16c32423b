// Amber rings around the boxes of a set of sentences (the steps of an
// explanation), painted over a diagram surface by a transparent child that
// lets every mouse press through to the surface. A sentence drawn only as a
// link gets its bars widened in amber instead.
#pragma once

#include <QWidget>
#include <string>
#include <unordered_set>
#include <vector>

class TDiagramSurface;

class TDerivationHighlight : public QWidget {
  Q_OBJECT

 public:
  explicit TDerivationHighlight(TDiagramSurface& surface);

  // The sentences to ring, by text; none clears the highlight.
  void SetTexts(std::unordered_set<std::string> texts);
  // Finds the elements again after the surface's drawing changed.
  void Refind();
  const std::vector<int>& Elements() const { return elements_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TDiagramSurface& surface_;
  std::unordered_set<std::string> texts_;
  std::vector<int> elements_;
};

// A drawing that holds every kind of element the painter knows: boxes of
// every role and status, links of all six shapes with thin and thick bars,
// solid, dotted and open ones, and a cycle mark. Text widths are a fixed
// 6 pixels per byte, so the geometry does not depend on the fonts installed.
#pragma once

#include <QImage>
#include <QPainter>

#include "diagram_qt/diagram_painter.h"
#include "tests/diagram/diagram_test_theory.h"

struct TPictureFixture {
  TTestTheory Theory{{"if(p, s)", "if(q, x(s))", "if(a, b, s)", "if(r, if(p, s))", "if(t, x(if(p, s)))",
                      "if(u, x(if(a, b, s)))", "if(g, if(r, if(p, s)))", "if(h, x(if(r, if(p, s))))", "if(m, n)",
                      "if(n, m)", "p", "q", "r", "t", "a", "b", "u", "g"},
                     {"s", "if(v, s)", "v", "if(w, x(s))", "w"}};
  TDrawContext Context;

  explicit TPictureFixture(bool structureOnly = false) {
    // Statuses in turn: justified, defeated, open.
    for (size_t i = 0; i < Theory.All.size(); ++i) {
      Theory.All[i]->IsJustified = i % 3 == 0;
      Theory.All[i]->IsDefeated = i % 3 == 1;
    }
    Context.StructureOnly = structureOnly;
    Context.TextWidth = [](std::string_view text, TFontStyle) { return static_cast<int>(text.size()) * 6; };
    Theory.Layout(Context);
  }

  const TDiagramDrawing& Drawing() const { return Context.Drawing; }
};

// Paints every element but the texts (labels and cycle marks, whose pixels
// belong to the fonts installed) onto white at scale 1.
inline QImage PaintShapesAtScaleOne(const TDiagramDrawing& drawing) {
  QImage image(drawing.Width() + 2, drawing.Height() + 2, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  const QFont font;
  for (const TDiagramElement& element : drawing.Elements)
    if (element.Kind != TElementKind::Label && element.Kind != TElementKind::CycleMark)
      PaintElement(painter, drawing, element, font);
  return image;
}

// The diagram takes the keyboard focus (a click or Tab gives it), and the
// arrow keys move the selection between the boxes exactly as a click on the
// box would select it; the box moved to is scrolled into view.
#include <QComboBox>
#include <QKeyEvent>

#include "diagram_qt/diagram_scroll_box.h"
#include "editing/diagram_navigation.h"
#include "window/main_form.h"
#include "window_editing/main_form_editing.h"

void TMainFormEditing::connectKeyboard() {
  // Tab reaches the diagram, and a click gives it the focus; while the
  // statement box is open a click leaves the focus where it went before
  // (to ScrollBox1).
  surface_->setFocusPolicy(Qt::TabFocus);
  surface_->installEventFilter(this);
  connect(surface_, &TDiagramSurface::mouseDown, this, [this] {
    if (!comboBox_->isVisible()) surface_->setFocus(Qt::MouseFocusReason);
  });
}

bool TMainFormEditing::diagramKeyPressed(int key) {
  TNavigation direction;
  switch (key) {
    case Qt::Key_Up: direction = TNavigation::Previous; break;
    case Qt::Key_Down: direction = TNavigation::Next; break;
    case Qt::Key_Left: direction = TNavigation::Parent; break;
    case Qt::Key_Right: direction = TNavigation::Child; break;
    default: return false;
  }
  // Rows and columns do not wait for marks drawn late; the box's width does.
  const TDiagramDrawing& drawing = surface_->Context().Drawing;
  const TSelectionState& selection = form_.Selection();
  const int current = SelectedFrame(drawing, selection.SelectedIndex, selection.ClickedRow);
  const int target = NavigateBoxes(drawing, current, direction);
  if (target < 0) return true;
  surface_->DrawPendingMarks({target});
  const TBounds& box = drawing.Elements[static_cast<size_t>(target)].Bounds;
  const QPoint centre(box.Left + box.Width / 2, box.Top + box.Height / 2);
  editor_->ScrollBox1MouseDown(target, {centre.x(), centre.y()}, form_.isActiveWindow());
  if (scrollBox_) scrollBox_->ensureVisible(centre.x(), centre.y(), box.Width / 2 + 8, box.Height / 2 + 8);
  return true;
}

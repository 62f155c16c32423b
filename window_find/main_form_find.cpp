#include "window_find/main_form_find.h"

#include <QAction>
#include <algorithm>

#include "diagram_qt/diagram_scroll_box.h"
#include "diagram_qt/qt_text.h"
#include "editing/argument_editor.h"
#include "editing/diagram_find.h"
#include "editing/diagram_navigation.h"
#include "window/main_form.h"
#include "window_find/find_bar.h"

TMainFormFind::TMainFormFind(TMainForm& form, TArgumentEditor& editor)
    : QObject(&form),
      form_(form),
      editor_(editor),
      surface_(*form.Widgets().Surface),
      scrollBox_(*form.Widgets().ScrollBox) {
  bar_ = new TFindBar(scrollBox_);
  auto* find = new QAction(QStringLiteral("&Find..."), &form);
  find->setObjectName(QStringLiteral("Find1"));
  find->setShortcuts(QKeySequence::Find);
  auto* next = new QAction(QStringLiteral("Find &next"), &form);
  next->setObjectName(QStringLiteral("FindNext1"));
  next->setShortcuts(QKeySequence::FindNext);
  auto* previous = new QAction(QStringLiteral("Find &previous"), &form);
  previous->setObjectName(QStringLiteral("FindPrevious1"));
  previous->setShortcuts(QKeySequence::FindPrevious);
  for (QAction* action : {find, next, previous}) {
    action->setShortcutContext(Qt::WindowShortcut);
    form.addAction(action);
  }
  connect(find, &QAction::triggered, this, &TMainFormFind::open);
  // F3 with nothing to look for opens the bar, as Ctrl+F does.
  connect(next, &QAction::triggered, this, [this] { bar_->Text().isEmpty() ? open() : search(false, false); });
  connect(previous, &QAction::triggered, this, [this] { bar_->Text().isEmpty() ? open() : search(false, true); });
  connect(bar_, &TFindBar::textChanged, this, [this] { search(true, false); });
  connect(bar_, &TFindBar::nextRequested, this, [this](bool backwards) { search(false, backwards); });
  connect(bar_, &TFindBar::closed, this, [this] { surface_.setFocus(Qt::OtherFocusReason); });
}

void TMainFormFind::open() {
  bar_->Open();
  // The count of a text kept from before, for the diagram as it is now.
  const std::vector<int> matches = FindBoxes(surface_.Context().Drawing, surface_.Context().DrawnSentences,
                                             ToBytes(bar_->Text()));
  const TSelectionState& selection = form_.Selection();
  const int current = SelectedFrame(surface_.Context().Drawing, selection.SelectedIndex, selection.ClickedRow);
  const auto at = std::find(matches.begin(), matches.end(), current);
  bar_->ShowCount(at == matches.end() ? 0 : static_cast<int>(at - matches.begin()) + 1,
                  static_cast<int>(matches.size()));
}

void TMainFormFind::search(bool fromStart, bool backwards) {
  // The diagram may have been drawn anew since the last search: the matches
  // are those of the drawing shown now (captions, rows and columns do not
  // wait for marks drawn late).
  const TDiagramDrawing& drawing = surface_.Context().Drawing;
  const std::vector<int> matches = FindBoxes(drawing, surface_.Context().DrawnSentences, ToBytes(bar_->Text()));
  int position = -1;
  if (fromStart) {
    position = matches.empty() ? -1 : 0;
  } else {
    const TSelectionState& selection = form_.Selection();
    position = NextMatch(drawing, matches, SelectedFrame(drawing, selection.SelectedIndex, selection.ClickedRow),
                         backwards);
  }
  if (position >= 0) select(matches[static_cast<size_t>(position)]);
  bar_->ShowCount(position + 1, static_cast<int>(matches.size()));
}

void TMainFormFind::select(int frame) {
  surface_.DrawPendingMarks({frame});
  const TBounds& box = surface_.Context().Drawing.Elements[static_cast<size_t>(frame)].Bounds;
  const QPoint centre(box.Left + box.Width / 2, box.Top + box.Height / 2);
  editor_.ScrollBox1MouseDown(frame, {centre.x(), centre.y()}, form_.isActiveWindow());
  // In the surface's own pixels, which differ from the diagram's under a zoom.
  const QRect shown = surface_.ToWidget(QRect(box.Left, box.Top, box.Width, box.Height));
  scrollBox_.ensureVisible(shown.center().x(), shown.center().y(), shown.width() / 2 + 8, shown.height() / 2 + 8);
}

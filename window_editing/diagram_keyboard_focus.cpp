#include "window_editing/diagram_keyboard_focus.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QTabWidget>

#include "diagram_qt/diagram_scroll_box.h"
#include "window/main_form.h"
#include "window/main_form_shortcuts.h"

namespace {

// Swallows the shortcut events of the editing items while the diagram page
// is not the current page.
class TEditingKeyGuard : public QObject {
 public:
  TEditingKeyGuard(QObject* parent, QTabWidget* pages, QWidget* diagramPage)
      : QObject(parent), pages_(pages), diagramPage_(diagramPage) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Shortcut && pages_->currentWidget() != diagramPage_) return true;
    return QObject::eventFilter(watched, event);
  }

 private:
  QTabWidget* pages_;
  QWidget* diagramPage_;
};

// Lies over the scroll area's viewport, lets every mouse event through and
// draws only a frame; it shows while the surface has the focus.
class TDiagramFocusFrame : public QWidget {
 public:
  TDiagramFocusFrame(QWidget* viewport, QWidget* surface) : QWidget(viewport), viewport_(viewport), surface_(surface) {
    setObjectName(QStringLiteral("DiagramFocusFrame"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    viewport_->installEventFilter(this);
    surface_->installEventFilter(this);
    setGeometry(viewport_->rect());
    setVisible(surface_->hasFocus());
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == viewport_ && event->type() == QEvent::Resize) setGeometry(viewport_->rect());
    if (watched == surface_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
      setGeometry(viewport_->rect());
      setVisible(event->type() == QEvent::FocusIn);
      raise();
    }
    return QWidget::eventFilter(watched, event);
  }
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
  }

 private:
  QWidget* viewport_;
  QWidget* surface_;
};

// Opens the pop-up menu on the keys that ask for it.
class TPopupMenuKeys : public QObject {
 public:
  TPopupMenuKeys(TDiagramSurface* surface, QScrollArea* scrollBox, QMenu* menu)
      : QObject(surface), surface_(surface), scrollBox_(scrollBox), menu_(menu) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* press = static_cast<QKeyEvent*>(event);
    const bool menuKey = press->key() == Qt::Key_Menu && press->modifiers() == Qt::NoModifier;
    const bool shiftF10 = press->key() == Qt::Key_F10 && press->modifiers() == Qt::ShiftModifier;
    if (!menuKey && !shiftF10) return QObject::eventFilter(watched, event);
    menu_->popup(surface_->mapToGlobal(MenuPoint()));
    return true;
  }

 private:
  // The middle of the selected box, or the top left of what is in view.
  QPoint MenuPoint() const {
    const QPoint viewTopLeft = surface_->mapFrom(scrollBox_->viewport(), QPoint(8, 8));
    const std::vector<int>& selected = surface_->HighlightedElements();
    if (selected.empty()) return viewTopLeft;
    const TBounds& b = surface_->Drawing().Elements.at(static_cast<size_t>(selected.front())).Bounds;
    return surface_->ToWidget(QRect(b.Left, b.Top, b.Width, b.Height)).center();
  }

  TDiagramSurface* surface_;
  QScrollArea* scrollBox_;
  QMenu* menu_;
};

}  // namespace

void OpenPopupMenuFromKeyboard(const TMainFormWidgets& widgets) {
  widgets.Surface->installEventFilter(new TPopupMenuKeys(widgets.Surface, widgets.ScrollBox, widgets.PopupMenu));
}

void GuardEditingKeys(const TMainFormWidgets& widgets) {
  auto* guard = new TEditingKeyGuard(widgets.Pages->window(), widgets.Pages, widgets.DiagramPage);
  // The editing items are the rows whose key the pop-up menu shows too.
  for (QAction* action : widgets.EditMenuItems.All())
    if (IsEditingKeyItem(*action)) action->installEventFilter(guard);
}

void ShowDiagramFocusFrame(const TMainFormWidgets& widgets) {
  new TDiagramFocusFrame(widgets.ScrollBox->viewport(), widgets.Surface);
}

#include "window_input/diagram_keyboard_focus.h"

#include <QAction>
#include <QEvent>
#include <QPainter>
#include <QScrollArea>
#include <QTabWidget>

#include "window_input/main_form_shortcuts.h"

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

}  // namespace

void GuardEditingKeys(QWidget& form) {
  auto* pages = form.findChild<QTabWidget*>(QStringLiteral("TextBasedKorvelPageControl"));
  auto* diagramPage = form.findChild<QWidget*>(QStringLiteral("TabSheet1"));
  if (!pages || !diagramPage) return;
  auto* guard = new TEditingKeyGuard(&form, pages, diagramPage);
  // The editing items are the rows whose key the pop-up menu shows too.
  for (const TShortcut& row : MainFormShortcuts()) {
    if (!row.PopupAction) continue;
    if (auto* action = form.findChild<QAction*>(QString::fromUtf8(row.Action))) action->installEventFilter(guard);
  }
}

void ShowDiagramFocusFrame(QWidget& form) {
  auto* scrollBox = form.findChild<QScrollArea*>(QStringLiteral("ScrollBox1"));
  auto* surface = form.findChild<QWidget*>(QStringLiteral("DiagramSurface"));
  if (!scrollBox || !surface) return;
  new TDiagramFocusFrame(scrollBox->viewport(), surface);
}

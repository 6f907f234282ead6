#include <algorithm>
#include "platform/qt/child_window.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <map>

#include "base/mutex.h"
#include "platform/qt/font_list.h"

namespace qtl {

namespace {
Mutex registry_mutex;
// The connected child of each unit.
std::map<int, std::shared_ptr<Child>>& registry() REQUIRES(registry_mutex) {
  static std::map<int, std::shared_ptr<Child>> units;
  return units;
}
}  // namespace

std::shared_ptr<Child> find_child(int unit) {
  MutexLock lock(registry_mutex);
  auto it = registry().find(unit);
  return it == registry().end() ? nullptr : it->second;
}

std::shared_ptr<Child> bind_child(const std::shared_ptr<Child>& child) {
  MutexLock lock(registry_mutex);
  std::shared_ptr<Child>& slot = registry()[child->unit];
  std::shared_ptr<Child> old = std::move(slot);
  if (old) old->connected = false;
  slot = child;
  return old;
}

std::shared_ptr<Child> unbind_child(int unit) {
  MutexLock lock(registry_mutex);
  auto it = registry().find(unit);
  if (it == registry().end()) return nullptr;
  std::shared_ptr<Child> child = std::move(it->second);
  registry().erase(it);
  child->connected = false;
  return child;
}

std::shared_ptr<Child>& current_child() {
  thread_local std::shared_ptr<Child> current;
  return current;
}

GraphView::GraphView(std::shared_ptr<Child> child, QWidget* parent)
    : QWidget(parent), child_(child), canvas_(child->canvas) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(false);
}

QSize GraphView::sizeHint() const {
  return canvas_->locked([](CanvasState& s) { return s.image.size(); });
}

namespace {
// Where a picture of `picture` pixels shows in a view of `view` pixels: at its
// own size from the top-left corner, or scaled down with its proportions to
// fit a smaller view (tiled windows still show the whole graph).
QRect picture_rect(const QSize& picture, const QSize& view) {
  if (picture.isEmpty() || (view.width() >= picture.width() && view.height() >= picture.height()))
    return QRect(QPoint(0, 0), picture);
  const double scale = std::min(static_cast<double>(view.width()) / picture.width(),
                                static_cast<double>(view.height()) / picture.height());
  return QRect(0, 0, std::max(1, static_cast<int>(picture.width() * scale)),
               std::max(1, static_cast<int>(picture.height() * scale)));
}
}  // namespace

void GraphView::update_picture_area(const QRect& area) {
  const QSize picture = canvas_->locked([](CanvasState& s) { return s.image.size(); });
  if (picture_rect(picture, size()).size() == picture) {
    update(area);
  } else {
    update();
  }
}

void GraphView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect area = event->rect();
  const QRect target = canvas_->locked([&](CanvasState& s) {
    const QRect shown = picture_rect(s.image.size(), size());
    if (shown.size() == s.image.size()) {
      const QRect inside = area & s.image.rect();
      if (!inside.isEmpty()) painter.drawImage(inside.topLeft(), s.image, inside);
    } else {
      painter.setRenderHint(QPainter::SmoothPixmapTransform);
      painter.drawImage(shown, s.image);
    }
    return shown;
  });
  // Beyond the picture (a window larger than its drawing area).
  QRegion outside = QRegion(area).subtracted(QRegion(target));
  for (const QRect& r : outside) painter.fillRect(r, palette().color(QPalette::Window));
}

void GraphView::raise_mouse(int event, QMouseEvent* e) {
  std::shared_ptr<Child> child = child_.lock();
  if (!child) return;
  int bit = 0;
  while ((1 << bit) != event) ++bit;
  MouseRoutine routine = child->mouse[static_cast<std::size_t>(bit)].load();
  if (routine == nullptr) return;
  // Key state as the classic mouse messages give it: buttons 1 and 2,
  // shift 4, control 8.
  int keys = 0;
  if (e->buttons() & Qt::LeftButton) keys |= 1;
  if (e->buttons() & Qt::RightButton) keys |= 2;
  if (e->modifiers() & Qt::ShiftModifier) keys |= 4;
  if (e->modifiers() & Qt::ControlModifier) keys |= 8;
  const QPoint p = e->position().toPoint();
  routine(child->unit, event, keys, p.x(), p.y());
}

void GraphView::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) raise_mouse(kMouseLeftDown, e);
  if (e->button() == Qt::RightButton) raise_mouse(kMouseRightDown, e);
}

void GraphView::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) raise_mouse(kMouseLeftUp, e);
  if (e->button() == Qt::RightButton) raise_mouse(kMouseRightUp, e);
}

void GraphView::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) raise_mouse(kMouseLeftDoubleClick, e);
  if (e->button() == Qt::RightButton) raise_mouse(kMouseRightDoubleClick, e);
}

void GraphView::mouseMoveEvent(QMouseEvent* e) { raise_mouse(kMouseMove, e); }

TextView::TextView(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setFont(cell_font().font);
  setMaximumBlockCount(20000);
  QPalette p = palette();
  p.setColor(QPalette::Base, QColor(0x10, 0x18, 0x28));
  p.setColor(QPalette::Text, default_colour());
  setPalette(p);
}

QColor TextView::default_colour() { return QColor(0xD8, 0xDC, 0xE0); }

void TextView::append_line(const QString& line, const QColor& colour) {
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  QTextCharFormat format;
  format.setForeground(colour);
  if (has_lines_) cursor.insertBlock();
  has_lines_ = true;
  cursor.insertText(line, format);
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  horizontalScrollBar()->setValue(0);
}

GraphView* graph_view_of(QMdiSubWindow* sub) {
  return sub == nullptr ? nullptr : qobject_cast<GraphView*>(sub->widget());
}

}  // namespace qtl

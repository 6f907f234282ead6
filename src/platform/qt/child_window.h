// Child windows bound to units: the records, the unit registry, the current
// window of each thread, and the two kinds of view (text and graph).
#pragma once

#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QWidget>
#include <array>
#include <atomic>
#include <memory>
#include <string>

#include "platform/qt/canvas.h"
#include "platform/wnd.h"

namespace qtl {

class GraphView;
class TextView;

struct Child {
  int unit = 0;
  ChildKind kind = ChildKind::graph;
  std::shared_ptr<Canvas> canvas;  // graph picture; text windows use its colours
  std::atomic<bool> connected{true};
  std::array<std::atomic<MouseRoutine>, 7> mouse{};  // one per event bit

  // GUI thread only.
  QPointer<QMdiSubWindow> sub;
  QPointer<TextView> text;
  QPointer<GraphView> graph;
  QString title;
};

// The connected child of `unit`, or nullptr.
std::shared_ptr<Child> find_child(int unit);
// Binds `child` to its unit; a window bound to the unit before is unbound
// (and returned) but stays on screen.
std::shared_ptr<Child> bind_child(const std::shared_ptr<Child>& child);
// Unbinds the unit; returns its child, or nullptr.
std::shared_ptr<Child> unbind_child(int unit);

// The calling thread's current window (may be disconnected meanwhile).
std::shared_ptr<Child>& current_child();

// A graph window's view: shows the canvas and reports mouse events.
class GraphView : public QWidget {
  Q_OBJECT
 public:
  GraphView(std::shared_ptr<Child> child, QWidget* parent = nullptr);
  const std::shared_ptr<Canvas>& canvas() const { return canvas_; }
  QSize sizeHint() const override;
  // Schedules a repaint of what shows `area` of the picture (GUI thread).
  void update_picture_area(const QRect& area);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void raise_mouse(int event, QMouseEvent* e);
  std::weak_ptr<Child> child_;
  std::shared_ptr<Canvas> canvas_;
};

// A text window's view: read-only lines, fixed-width light text on a dark
// background, each new line scrolled into view.
class TextView : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit TextView(QWidget* parent = nullptr);
  void append_line(const QString& line, const QColor& colour);
  static QColor default_colour();

 private:
  bool has_lines_ = false;
};

// The GraphView or TextView shown in an MDI sub-window, for the runtime
// menus (Save, Copy).
GraphView* graph_view_of(QMdiSubWindow* sub);

}  // namespace qtl

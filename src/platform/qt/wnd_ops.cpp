// The window operations of wnd.h: child windows, their configuration, mouse
// routines, text lines, sizes, sounds, sleeping and quitting.
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QMdiArea>
#include <QMenu>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <unistd.h>

#include "platform/qt/beep_count.h"
#include "platform/qt/child_window.h"
#include "platform/qt/child_window_style.h"
#include "platform/qt/end_program.h"
#include "platform/qt/font_list.h"
#include "platform/qt/frame_window.h"
#include "platform/qt/gui_thread.h"
#include "platform/qt/qt_colour.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/tone.h"
#include "platform/wnd.h"

using namespace qtl;

namespace {

std::atomic<int> forced_width{0};
std::atomic<int> forced_height{0};

// Refuses to close a child window while its unit is connected: a window
// bound to a unit leaves the screen only through its program.
class CloseGuard : public QObject {
 public:
  CloseGuard(std::weak_ptr<Child> child, QObject* parent) : QObject(parent), child_(child) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::Close) return false;
    std::shared_ptr<Child> child = child_.lock();
    if (child && child->connected) {
      event->ignore();
      return true;
    }
    return false;
  }

 private:
  std::weak_ptr<Child> child_;
};

// While bound to its unit a child window shows no close button and its
// system menu has no Close item; closing it with keep adds both.
constexpr Qt::WindowFlags kBoundFlags = Qt::SubWindow | Qt::CustomizeWindowHint |
                                        Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                        Qt::WindowMinMaxButtonsHint;
constexpr Qt::WindowFlags kKeptFlags = kBoundFlags | Qt::WindowCloseButtonHint;

// The sub-window's own Close item leaves the system menu while the window is
// bound; closing with keep brings it back (see show_close_entry).
void take_close_entry(QMdiSubWindow* sub) {
  QMenu* menu = sub->systemMenu();
  if (menu == nullptr) return;
  for (QAction* a : menu->actions()) {
    if (!QString(a->text()).remove(QLatin1Char('&')).startsWith(QStringLiteral("Close"))) continue;
    menu->removeAction(a);
    sub->setProperty("veltra_close_action", QVariant::fromValue(static_cast<QObject*>(a)));
  }
}

void show_close_entry(QMdiSubWindow* sub) {
  QMenu* menu = sub->systemMenu();
  if (menu == nullptr) return;
  auto* close = qobject_cast<QAction*>(sub->property("veltra_close_action").value<QObject*>());
  if (close == nullptr) {
    close = new QAction(sub);
    QObject::connect(close, &QAction::triggered, sub, &QWidget::close);
  }
  close->setText(QStringLiteral("&Close\tCtrl+F4"));
  close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
  close->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  close->setVisible(true);
  close->setEnabled(true);
  sub->addAction(close);
  menu->addAction(close);
}

// Opens the sub-window of `child` in the frame's MDI area (GUI thread).
void open_on_gui(const std::shared_ptr<Child>& child) {
  FrameWindow* frame = frame_window();
  if (frame == nullptr) return;
  QMdiArea* mdi = frame->mdi();
  auto* sub = new QMdiSubWindow(nullptr, kBoundFlags);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->installEventFilter(new CloseGuard(child, sub));
  sub->setWindowTitle(child->title);
  sub->setProperty("veltra_unit", child->unit);
  const QSize viewport = mdi->viewport()->size();

  if (child->kind == ChildKind::text) {
    auto* view = new TextView();
    sub->setWidget(view);
    mdi->addSubWindow(sub, kBoundFlags);
    take_close_entry(sub);
    set_closable(sub, false);
    sub->resize(std::max(320, viewport.width() * 2 / 3), std::max(200, viewport.height() / 2));
    sub->move(0, 0);
    sub->show();
    child->text = view;
    child->sub = sub;
    return;
  }

  auto* view = new GraphView(child);
  sub->setWidget(view);
  mdi->addSubWindow(sub, kBoundFlags);
  take_close_entry(sub);
  set_closable(sub, false);
  sub->showMaximized();
  const int fw = forced_width, fh = forced_height;
  QSize area = (fw > 0 && fh > 0) ? QSize(fw, fh) : view->size();
  if (area.width() < 1 || area.height() < 1) area = viewport;
  child->canvas->locked([&](CanvasState& s) { s.new_picture(area.width(), area.height()); });
  child->canvas->view = view;
  view->update();
  child->graph = view;
  child->sub = sub;
}

}  // namespace

int wnd_runtime_main(int argc, char** argv, void (*program)()) {
  // The desktop entry the windows belong to (Wayland's app id, and the
  // entry a task bar links the windows to), set before the platform is.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.veltra.Veltra"));
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  // The program's icon, drawn from the SVG that the package installs, for
  // the frame window and its child windows' title bars.
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/org.veltra.Veltra.svg")));
  create_frame_window();
  std::thread([program] {
    program();
    wnd_end_program(0);
  }).detach();
  app.exec();
  // The frame window is closed: the process ends here, whatever threads are
  // still running or waiting (the program's thread never returns from the
  // end prompt).
  std::fflush(nullptr);
  _exit(exit_code_at_close());
}

void wnd_set_graph_area_size(int width, int height) {
  if (width <= 0 || height <= 0) width = height = 0;
  forced_width = width;
  forced_height = height;
}

int wnd_set_size(int unit, const WindowSize& size) {
  bool found = false;
  run_on_gui([&] {
    QWidget* target = nullptr;
    if (unit == kFrameWindow) {
      target = frame_window();
    } else if (std::shared_ptr<Child> child = find_child(unit)) {
      target = child->sub;
    }
    if (target == nullptr) return;
    found = true;
    switch (size.state) {
      case kSizeMinimised: target->showMinimized(); break;
      case kSizeMaximised: target->showMaximized(); break;
      case kSizeRestored: target->showNormal(); break;
      case kSizePlaced:
        target->showNormal();
        target->setGeometry(size.x, size.y, std::max<int>(size.width, 1), std::max<int>(size.height, 1));
        break;
      default: found = false; break;
    }
  });
  return found ? 0 : -1;
}

void wnd_open_child(int unit, std::string_view title, ChildKind kind) {
  auto child = std::make_shared<Child>();
  child->unit = unit;
  child->kind = kind;
  child->title = system_text(title);
  const bool graph = kind == ChildKind::graph;
  child->canvas = std::make_shared<Canvas>(1, 1, graph);
  if (!graph) {
    // Lines of a text window: light on dark unless the program says otherwise.
    const Rgb light = to_rgb(TextView::default_colour());
    child->canvas->locked([light](CanvasState& s) {
      s.text_colour = light;
      s.background = 0x281810;
    });
  }
  run_on_gui([&] { open_on_gui(child); });
  bind_child(child);
  current_child() = child;
}

void wnd_close_child(int unit, bool keep) {
  std::shared_ptr<Child> child = unbind_child(unit);
  if (!child) return;
  if (current_child() == child) current_child().reset();
  run_on_gui([&] {
    QMdiSubWindow* sub = child->sub;
    if (sub == nullptr) return;
    if (!keep) {
      sub->close();
      return;
    }
    sub->setWindowTitle(child->title + QStringLiteral("-Closed"));
    sub->setWindowFlags(kKeptFlags);
    set_closable(sub, true);
    show_close_entry(sub);
    sub->show();
  });
}

bool wnd_get_config(WindowConfig* config) {
  std::shared_ptr<Child> child = current_child();
  if (!child || !child->connected || config == nullptr) return false;
  QSize area;
  CellFont cell = cell_font();
  if (child->kind == ChildKind::graph) {
    area = child->canvas->locked([&](CanvasState& s) {
      cell = s.cells();
      return s.image.size();
    });
  } else {
    run_on_gui([&] {
      if (child->text) area = child->text->viewport()->size();
    });
  }
  config->width = static_cast<std::int16_t>(std::min(area.width(), 32767));
  config->height = static_cast<std::int16_t>(std::min(area.height(), 32767));
  config->text_columns = static_cast<std::int16_t>(area.width() / cell.width);
  config->text_rows = static_cast<std::int16_t>(area.height() / cell.height);
  config->colours = 1 << 24;
  config->font_size = cell.height;
  config->title = child->title.toStdString();
  config->bits_per_pixel = 32;
  return true;
}

bool wnd_set_active(int unit) {
  std::shared_ptr<Child> child = find_child(unit);
  if (!child) return false;
  current_child() = child;
  return true;
}

bool wnd_register_mouse_event(int unit, int mask, MouseRoutine routine) {
  std::shared_ptr<Child> child = find_child(unit);
  if (!child) return false;
  bool registered_before = false;
  for (std::size_t bit = 0; bit < child->mouse.size(); ++bit) {
    if (!(mask & (1 << bit))) continue;
    if (child->mouse[bit].exchange(routine) != nullptr) registered_before = true;
  }
  if (mask & kMouseMove)
    run_on_gui([&] {
      if (child->graph) child->graph->setMouseTracking(routine != nullptr);
    });
  return registered_before;
}

void wnd_write_line(int unit, std::string_view line) {
  std::shared_ptr<Child> child = find_child(unit);
  if (!child || child->kind != ChildKind::text) return;
  post_to_gui([child, text = system_text(line)] {
    if (child->text) child->text->append_line(text, TextView::default_colour());
  });
}

namespace {
std::atomic<int> beeps_sounded{0};
}  // namespace

int qtl::beep_count() { return beeps_sounded.load(); }

void wnd_beep(int frequency_hz, int duration_ms) {
  // The GUI thread starts the tone and goes on; the caller waits it out.
  if (tones_audible()) post_to_gui([=] { play_tone(frequency_hz, duration_ms); });
  wnd_sleep(duration_ms);
  beeps_sounded.fetch_add(1);
}

void wnd_sleep(int milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void wnd_quit(int exit_code) {
  std::fflush(nullptr);
  _exit(exit_code);
}

bool wnd_save_image(int unit, std::string_view path) {
  std::shared_ptr<Child> child = find_child(unit);
  if (!child || child->kind != ChildKind::graph) return false;
  return snapshot(*child->canvas).save(QString::fromStdString(std::string(path)), "PNG");
}

bool wnd_copy_image(int unit, WndImage* image) {
  std::shared_ptr<Child> child = find_child(unit);
  if (!child || child->kind != ChildKind::graph) return false;
  copy_pixels(snapshot(*child->canvas), image);
  return true;
}

bool wnd_on_gui_thread() { return on_gui_thread(); }

#include "platform/qt/test_hooks.h"

#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QTextBlock>
#include <chrono>
#include <thread>

#include "platform/qt/beep_count.h"
#include "platform/qt/child_window.h"
#include "platform/qt/dialog_builder.h"
#include "platform/qt/frame_window.h"
#include "platform/qt/gui_thread.h"

using namespace qtl;

namespace qt_test {

void start_runtime() { create_frame_window(); }

void stop_runtime() { delete frame_window(); }

void on_gui(const std::function<void()>& work) { run_on_gui(work); }

bool wait_for(const std::function<bool()>& condition, int timeout_ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    bool holds = false;
    run_on_gui([&] { holds = condition(); });
    if (holds) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

int menu_count() {
  int n = 0;
  run_on_gui([&] { n = frame_window()->menu_count(); });
  return n;
}

int item_count(int menu) {
  int n = -1;
  run_on_gui([&] {
    if (const TopMenu* t = frame_window()->top(menu)) n = static_cast<int>(t->items.size());
  });
  return n;
}

QString menu_title(int menu) {
  QString s;
  run_on_gui([&] {
    if (const TopMenu* t = frame_window()->top(menu)) s = t->menu->title();
  });
  return s;
}

QString item_text(int menu, int item) {
  QString s;
  run_on_gui([&] {
    if (const MenuItem* i = frame_window()->item(menu, item)) s = i->action->text();
  });
  return s;
}

bool item_enabled(int menu, int item) {
  bool on = false;
  run_on_gui([&] {
    if (const MenuItem* i = frame_window()->item(menu, item)) on = i->action->isEnabled();
  });
  return on;
}

bool item_checked(int menu, int item) {
  bool on = false;
  run_on_gui([&] {
    if (const MenuItem* i = frame_window()->item(menu, item)) on = i->action->isChecked();
  });
  return on;
}

bool menu_enabled(int menu) {
  bool on = false;
  run_on_gui([&] {
    if (const TopMenu* t = frame_window()->top(menu)) on = t->menu->menuAction()->isEnabled();
  });
  return on;
}

bool choose_menu(int menu, int item) {
  bool done = false;
  run_on_gui([&] { done = frame_window()->choose(menu, item); });
  return done;
}

QString about_text() {
  QString s;
  run_on_gui([&] { s = frame_window()->about_text(); });
  return s;
}

QImage graph_image(int unit) {
  std::shared_ptr<Child> child = find_child(unit);
  if (!child || child->kind != ChildKind::graph) return {};
  // Let pending repaints and posted work run first.
  run_on_gui([] {});
  return snapshot(*child->canvas);
}

namespace {
// The child of `unit`, connected or the last one shown under that caption.
QMdiSubWindow* sub_of(int unit, std::shared_ptr<Child>* keep) {
  *keep = find_child(unit);
  return *keep ? (*keep)->sub.data() : nullptr;
}

QMdiSubWindow* sub_by_unit_or_title(int unit) {
  std::shared_ptr<Child> keep;
  if (QMdiSubWindow* sub = sub_of(unit, &keep)) return sub;
  // A window closed with keep is no longer bound; it is the one whose unit
  // property says so.
  for (QMdiSubWindow* sub : frame_window()->mdi()->subWindowList())
    if (sub->property("veltra_unit").toInt() == unit) return sub;
  return nullptr;
}
}  // namespace

QString window_title(int unit) {
  QString s;
  run_on_gui([&] {
    if (QMdiSubWindow* sub = sub_by_unit_or_title(unit)) s = sub->windowTitle();
  });
  return s;
}

QStringList text_lines(int unit) {
  QStringList lines;
  run_on_gui([&] {
    QMdiSubWindow* sub = sub_by_unit_or_title(unit);
    auto* view = sub ? qobject_cast<TextView*>(sub->widget()) : nullptr;
    if (view == nullptr) return;
    for (QTextBlock b = view->document()->begin(); b.isValid(); b = b.next()) lines << b.text();
  });
  return lines;
}

QList<QColor> text_colours(int unit) {
  QList<QColor> colours;
  run_on_gui([&] {
    QMdiSubWindow* sub = sub_by_unit_or_title(unit);
    auto* view = sub ? qobject_cast<TextView*>(sub->widget()) : nullptr;
    if (view == nullptr) return;
    for (QTextBlock b = view->document()->begin(); b.isValid(); b = b.next()) {
      QColor c = TextView::default_colour();
      for (auto it = b.begin(); !it.atEnd(); ++it) {
        c = it.fragment().charFormat().foreground().color();
        break;
      }
      colours << c;
    }
  });
  return colours;
}

QStringList system_menu_texts(int unit) {
  QStringList texts;
  run_on_gui([&] {
    QMdiSubWindow* sub = sub_by_unit_or_title(unit);
    if (sub == nullptr || sub->systemMenu() == nullptr) return;
    for (QAction* a : sub->systemMenu()->actions())
      if (a->isVisible() && !a->isSeparator()) texts << a->text();
  });
  return texts;
}

QDialog* running_dialog() {
  TemplateDialog* found = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* d = qobject_cast<TemplateDialog*>(w);
    if (d == nullptr || !d->isVisible()) continue;
    // The innermost: one no other visible template dialog is owned by.
    bool owns_other = false;
    for (QWidget* v : QApplication::topLevelWidgets()) {
      auto* e = qobject_cast<TemplateDialog*>(v);
      if (e != nullptr && e != d && e->isVisible() && e->parentWidget() == d) owns_other = true;
    }
    if (!owns_other) found = d;
  }
  return found;
}

QWidget* dialog_control(int id) {
  auto* d = qobject_cast<TemplateDialog*>(running_dialog());
  return d ? d->control_widget(id) : nullptr;
}

int beep_count() { return qtl::beep_count(); }

QMessageBox* open_message_box() {
  QMessageBox* found = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(w); box != nullptr && box->isVisible()) found = box;
  return found;
}

QFileDialog* open_file_chooser() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* chooser = qobject_cast<QFileDialog*>(w); chooser != nullptr && chooser->isVisible()) return chooser;
  return nullptr;
}

bool dialog_titled(const char* title) {
  bool found = false;
  on_gui([&] {
    QDialog* dialog = running_dialog();
    found = dialog != nullptr && dialog->isVisible() && dialog->windowTitle() == title;
  });
  return found;
}

}  // namespace qt_test

#include "platform/qt/frame_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>

#include "platform/runtime_menus.h"
#include "platform/qt/canvas.h"
#include "platform/qt/child_window.h"
#include "platform/qt/child_window_style.h"

namespace qtl {

namespace {
QPointer<FrameWindow> the_frame;

void apply_flags(int flags, bool& enabled, bool& checkable, bool& checked) {
  if (flags & (kMenuGreyed | kMenuDisabled))
    enabled = false;
  else if (flags & kMenuEnabled)
    enabled = true;
  if (flags & kMenuChecked) {
    checkable = true;
    checked = true;
  } else if (flags & kMenuUnchecked) {
    checked = false;
  }
}
}  // namespace

FrameWindow* frame_window() { return the_frame.data(); }

void create_frame_window() {
  if (the_frame) return;
  install_child_window_style();
  the_frame = new FrameWindow();
  if (QScreen* screen = QGuiApplication::primaryScreen())
    the_frame->setGeometry(screen->availableGeometry());
  the_frame->show();
}

FrameWindow::FrameWindow() {
  setWindowTitle(QStringLiteral("VELTRA"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  mdi_ = new QMdiArea(this);
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);
  build_runtime_menus();
}

void FrameWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  QCoreApplication::quit();
}

TopMenu* FrameWindow::top_menu(int menu) {
  if (menu < 1 || menu > menu_count()) return nullptr;
  return menus_[static_cast<std::size_t>(menu - 1)].get();
}

const TopMenu* FrameWindow::top(int menu) const {
  return const_cast<FrameWindow*>(this)->top_menu(menu);
}

const MenuItem* FrameWindow::item(int menu, int item) const {
  const TopMenu* t = top(menu);
  if (t == nullptr || item < 1 || item > static_cast<int>(t->items.size())) return nullptr;
  return t->items[static_cast<std::size_t>(item - 1)].get();
}

void FrameWindow::refresh(const TopMenu& top, MenuItem& item) {
  QAction* a = item.action;
  a->setEnabled(top.enabled && item.enabled && (!item.available || item.available()));
  a->setCheckable(item.checkable);
  if (item.checkable) a->setChecked(item.checked);
}

void FrameWindow::refresh(TopMenu& top) {
  top.menu->menuAction()->setEnabled(top.enabled);
  for (auto& item : top.items) refresh(top, *item);
}

void FrameWindow::activate(TopMenu& top, MenuItem& item) {
  // A checkable action toggles itself when triggered; the state is the
  // record's alone, so it is put back before the routine runs.
  if (item.checkable) item.action->setChecked(item.checked);
  if (!top.enabled || !item.enabled || item.separator) return;
  if (item.available && !item.available()) return;
  if (item.builtin)
    item.builtin(item.checked);
  else if (item.routine != nullptr)
    item.routine(item.checked);
}

MenuItem* FrameWindow::add_item(TopMenu& top, int position, int flags, std::string_view text) {
  auto item = std::make_unique<MenuItem>();
  MenuItem* raw = item.get();
  item->separator = (flags & kMenuSeparator) != 0;
  apply_flags(flags, item->enabled, item->checkable, item->checked);
  item->action = new QAction(QString::fromStdString(with_access_key(text)), top.menu);
  item->action->setSeparator(item->separator);
  const int count = static_cast<int>(top.items.size());
  position = std::clamp(position, 1, count + 1);
  QAction* before = position <= count ? top.items[static_cast<std::size_t>(position - 1)]->action
                                      : top.tail;
  top.menu->insertAction(before, item->action);
  TopMenu* owner = &top;
  connect(item->action, &QAction::triggered, this, [this, owner, raw] { activate(*owner, *raw); });
  top.items.insert(top.items.begin() + (position - 1), std::move(item));
  refresh(top, *raw);
  return raw;
}

bool FrameWindow::insert(int menu, int item, int flags, std::string_view text,
                         MenuRoutine routine) {
  if (item == 0) {
    const int count = menu_count();
    if (menu < 1 || menu > count + 1) return false;
    auto top = std::make_unique<TopMenu>();
    top->menu = new QMenu(QString::fromStdString(with_access_key(text)), this);
    top->routine = routine;
    bool checkable = false, checked = false;
    apply_flags(flags, top->enabled, checkable, checked);
    QAction* before = menu <= count ? menus_[static_cast<std::size_t>(menu - 1)]->menu->menuAction()
                                    : nullptr;
    menuBar()->insertMenu(before, top->menu);
    TopMenu* raw = top.get();
    connect(top->menu, &QMenu::aboutToShow, this, [this, raw] { refresh(*raw); });
    menus_.insert(menus_.begin() + (menu - 1), std::move(top));
    refresh(*raw);
    return true;
  }
  TopMenu* top = top_menu(menu);
  if (top == nullptr || item < 1 || item > static_cast<int>(top->items.size()) + 1) return false;
  add_item(*top, item, flags, text)->routine = routine;
  return true;
}

bool FrameWindow::append(int menu, int flags, std::string_view text, MenuRoutine routine) {
  TopMenu* top = top_menu(menu);
  if (top == nullptr) return false;
  add_item(*top, static_cast<int>(top->items.size()) + 1, flags, text)->routine = routine;
  return true;
}

bool FrameWindow::set_flags(int menu, int item, int flags) {
  TopMenu* top = top_menu(menu);
  if (top == nullptr) return false;
  if (item == 0) {
    bool checkable = false, checked = false;
    apply_flags(flags, top->enabled, checkable, checked);
    refresh(*top);
    menuBar()->update();
    return true;
  }
  if (item < 1 || item > static_cast<int>(top->items.size())) return false;
  MenuItem& entry = *top->items[static_cast<std::size_t>(item - 1)];
  apply_flags(flags, entry.enabled, entry.checkable, entry.checked);
  refresh(*top, entry);
  return true;
}

void FrameWindow::grey_program_items() {
  for (auto& top : menus_) {
    for (auto& item : top->items) {
      if (item->builtin || item->routine == nullptr || item->routine == wnd_menu_no_action ||
          item->routine == wnd_menu_exit_action)
        continue;
      item->enabled = false;
      refresh(*top, *item);
    }
  }
}

bool FrameWindow::choose(int menu, int item) {
  TopMenu* top = top_menu(menu);
  if (top == nullptr || item < 1 || item > static_cast<int>(top->items.size())) return false;
  refresh(*top);
  MenuItem& entry = *top->items[static_cast<std::size_t>(item - 1)];
  // What the user can reach: an open-able top-level menu and an enabled item.
  if (!top->menu->menuAction()->isEnabled() || !entry.action->isEnabled() || entry.separator)
    return false;
  entry.action->trigger();
  return true;
}

void FrameWindow::add_builtin(TopMenu& top, const char* text, std::function<void(bool)> action,
                              std::function<bool()> available, bool checkable) {
  MenuItem* item = add_item(top, static_cast<int>(top.items.size()) + 1, kMenuEnabled, text);
  item->builtin = std::move(action);
  item->available = std::move(available);
  item->checkable = checkable;
  refresh(top, *item);
}

QImage FrameWindow::active_picture() const {
  GraphView* view = graph_view_of(mdi_->currentSubWindow());
  return view == nullptr ? QImage() : snapshot(*view->canvas());
}

void FrameWindow::save_picture() {
  QImage picture = active_picture();
  if (picture.isNull()) return;
  keep_settings_off_disk();
  QFileDialog chooser(this, QStringLiteral("Save Picture"), QString(),
                      QStringLiteral("PNG images (*.png)"));
  chooser.setAcceptMode(QFileDialog::AcceptSave);
  chooser.setDefaultSuffix(QStringLiteral("png"));
  chooser.setOption(QFileDialog::DontUseNativeDialog);
  chooser.selectFile(QStringLiteral("graph.png"));
  if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return;
  const QString path = chooser.selectedFiles().first();
  if (!picture.save(path, "PNG"))
    QMessageBox::warning(this, QStringLiteral("Save Picture"),
                         QStringLiteral("The picture could not be saved as\n%1").arg(path));
}

void FrameWindow::copy_picture() {
  QImage picture = active_picture();
  if (!picture.isNull()) QGuiApplication::clipboard()->setImage(picture);
}

void FrameWindow::show_help(const QString& title, const QString& text) {
  QMessageBox::information(this, title, text);
}

void FrameWindow::rebuild_window_list(TopMenu& window_menu) {
  for (QAction* a : window_list_) delete a;
  window_list_.clear();
  const QList<QMdiSubWindow*> windows = mdi_->subWindowList();
  int n = 0;
  for (QMdiSubWindow* sub : windows) {
    ++n;
    QString label = sub->windowTitle().trimmed();
    label.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* a = new QAction(n < 10 ? QStringLiteral("&%1 %2").arg(n).arg(label) : label,
                             window_menu.menu);
    a->setCheckable(true);
    a->setChecked(sub == mdi_->activeSubWindow());
    QPointer<QMdiSubWindow> target(sub);
    connect(a, &QAction::triggered, this, [this, target] {
      if (target) mdi_->setActiveSubWindow(target);
    });
    window_menu.menu->addAction(a);
    window_list_.push_back(a);
  }
}

void keep_above_frame(QWidget* window) {
  const FrameWindow* frame = frame_window();
  if (frame != nullptr && frame->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

void FrameWindow::build_runtime_menus() {
  auto has_graph = [this] { return graph_view_of(mdi_->currentSubWindow()) != nullptr; };
  // The runtime's menus in their order, each with its built-in items.
  auto make = [this]() {
    insert(menu_count() + 1, 0, kMenuEnabled, kRuntimeMenuTitles[menus_.size()], wnd_menu_no_action);
    return menus_.back().get();
  };

  TopMenu* file = make();
  add_builtin(*file, "&Save...", [this](bool) { save_picture(); }, has_graph);
  add_item(*file, 2, kMenuSeparator, "");
  add_item(*file, 3, kMenuEnabled, "E&xit")->routine = wnd_menu_exit_action;

  TopMenu* edit = make();
  add_builtin(*edit, "&Copy", [this](bool) { copy_picture(); }, has_graph);

  TopMenu* view = make();
  add_builtin(*view, "&Full Screen", [this, view](bool checked) {
    view->items[0]->checked = !checked;
    if (checked)
      showMaximized();
    else
      showFullScreen();
    refresh(*view);
  }, nullptr, true);

  TopMenu* state = make();
  add_builtin(*state, "Always on &Top", [this, state](bool checked) {
    state->items[0]->checked = !checked;
    setWindowFlag(Qt::WindowStaysOnTopHint, !checked);
    show();
    refresh(*state);
  }, nullptr, true);

  TopMenu* window = make();
  add_builtin(*window, "&Tile", [this](bool) { mdi_->tileSubWindows(); });
  add_builtin(*window, "&Cascade", [this](bool) { mdi_->cascadeSubWindows(); });
  window->tail = window->menu->addSeparator();
  connect(window->menu, &QMenu::aboutToShow, this, [this, window] { rebuild_window_list(*window); });

  TopMenu* help = make();
  add_builtin(*help, kHelpMenuItems[kHelpContents - 1], [this](bool) {
    show_help(QStringLiteral("Contents"),
              QStringLiteral("The program's own menu starts its commands. Graph windows are "
                             "arranged with the Window menu; File saves and Edit copies the "
                             "picture of the active graph window."));
  });
  add_builtin(*help, kHelpMenuItems[kHelpUsingHelp - 1], [this](bool) {
    show_help(QStringLiteral("Using Help"),
              QStringLiteral("Choose Help, Contents for an overview of the menus."));
  });
  add_builtin(*help, kHelpMenuItems[kHelpAbout - 1], [this](bool) {
    QMessageBox::about(this, QStringLiteral("About"), about_text_);
  });
}

}  // namespace qtl

// The frame window: a QMainWindow whose QMdiArea holds the child windows,
// and the menu bar with the runtime's six menus and the program's menus.
//
// Everything here runs on the GUI thread. Menus and items are numbered from 1
// as the program sees them; separators count as items.
#pragma once

#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/wnd.h"

namespace qtl {

struct MenuItem {
  QAction* action = nullptr;
  bool separator = false;
  bool enabled = true;
  bool checkable = false;
  bool checked = false;
  MenuRoutine routine = nullptr;       // a program item
  std::function<void(bool)> builtin;   // a runtime item
  std::function<bool()> available;     // a runtime item that needs, e.g., a graph window
};

struct TopMenu {
  QMenu* menu = nullptr;
  bool enabled = true;
  MenuRoutine routine = nullptr;
  std::vector<std::unique_ptr<MenuItem>> items;
  QAction* tail = nullptr;  // items are inserted before it (the Window menu's list)
};

class FrameWindow : public QMainWindow {
  Q_OBJECT
 public:
  FrameWindow();

  QMdiArea* mdi() const { return mdi_; }

  // Menu operations of wnd.h. Item 0 of insert makes a new top-level menu
  // at position `menu` (1 .. count + 1).
  bool insert(int menu, int item, int flags, std::string_view text, MenuRoutine routine);
  bool append(int menu, int flags, std::string_view text, MenuRoutine routine);
  bool set_flags(int menu, int item, int flags);

  // Greys every item that calls a routine of the program (the program end).
  void grey_program_items();

  // Chooses an item as the user would: false when it, or its top-level menu,
  // cannot be chosen now.
  bool choose(int menu, int item);

  int menu_count() const { return static_cast<int>(menus_.size()); }
  const TopMenu* top(int menu) const;
  const MenuItem* item(int menu, int item) const;

  void set_about_text(const QString& text) { about_text_ = text; }
  const QString& about_text() const { return about_text_; }

  // The picture of the active graph window (null when none is active).
  QImage active_picture() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  TopMenu* top_menu(int menu);
  MenuItem* add_item(TopMenu& top, int position, int flags, std::string_view text);
  void add_builtin(TopMenu& top, const char* text, std::function<void(bool)> action,
                   std::function<bool()> available = nullptr, bool checkable = false);
  void refresh(TopMenu& top);
  void refresh(const TopMenu& top, MenuItem& item);
  void activate(TopMenu& top, MenuItem& item);
  void build_runtime_menus();
  void rebuild_window_list(TopMenu& window_menu);
  void save_picture();
  void copy_picture();
  void show_help(const QString& title, const QString& text);

  QMdiArea* mdi_ = nullptr;
  std::vector<std::unique_ptr<TopMenu>> menus_;
  std::vector<QAction*> window_list_;
  QString about_text_;
};

// The frame window, once created (GUI thread only).
FrameWindow* frame_window();

// Makes `window`, a window without an owner that is about to be shown, open
// above the frame window while the frame is kept on top of other windows
// (State, Always on Top); otherwise it would open beneath it. GUI thread.
void keep_above_frame(QWidget* window);

// Creates the frame window and shows it. Call on the GUI thread once a
// QApplication exists; a second call does nothing.
void create_frame_window();

// Keeps Qt's own dialogs off the disk: the colour chooser and the file
// chooser read their remembered state (user-defined colours, history, last
// folder) from the user's Qt settings file and write it back when they are
// deleted. The program writes no files and starts from its own colours, so
// the user scope of Qt's settings points where no file can be created or
// found. Call on the GUI thread before such a dialog is made; repeats are
// harmless.
void keep_settings_off_disk();

}  // namespace qtl

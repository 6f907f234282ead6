// The Explorer's main window: the picture, the time line and its playback,
// the side panel, the plot panel, and the File, View and Playback menus.
//
// The window owns the state of what is shown (frame, zoom, orbit, picked
// item) and turns every change into a request to the frame worker; it
// paints only the pictures the worker hands back, never waiting for one.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <optional>

#include "background.h"
#include "frame_worker.h"
#include "input/load_problem.h"
#include "result_scan.h"
#include "timeline.h"

class HistoryView;
class PictureView;
class QAction;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QMenu;
class QSlider;
class QStackedWidget;
class SidePanel;

class ExplorerWindow : public QMainWindow {
  Q_OBJECT
 public:
  ExplorerWindow();
  ~ExplorerWindow() override;

  // Opens a result folder, or the folder of a file in one. A folder that
  // cannot be read leaves its reader's message in the window.
  void open_path(const QString& path);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void build_menus();
  QWidget* build_transport();
  void opened(const QString& folder, const LoadResult& loaded);
  void show_message(const QString& text);
  void add_recent(const QString& folder);
  void fill_recent_menu();

  // The frames of the range the panel chooses.
  std::int64_t frames() const;
  // What the window shows apart from the frame, the size and the pick: the
  // settings of the panel and the view.
  FrameRequest view_request() const;
  // Asks the worker for the picture of the current state.
  void post();
  void set_frame(std::int64_t frame);
  void settings_changed();
  void frame_ready(const QImage& picture, const FrameResultPtr& result);
  void pick_index_ready(quint64 positions, const PickIndexPtr& index);

  void play(bool on);
  void tick();
  double interval_ms() const;

  void zoom_at(double px, double py, double factor);
  void pan_by(double dx, double dy);
  void orbit_by(double dx, double dy);
  void pick_at(double px, double py);
  void picked(const PickHit& hit);
  void show_pick_details(const FrameResult& result);
  void fit();
  void first_view();
  void go_to_peak();

  void save_picture();
  void copy_picture();
  void export_movie();

  // The folder and problem shown, and the worker drawing them.
  QString folder_;
  ProblemPtr problem_;
  std::unique_ptr<FrameWorker> worker_;
  Background background_;  // folder reads and node histories

  // What is shown.
  std::int64_t frame_ = 0;
  std::optional<WorldRect> zoom_;
  bool orbit_ = false;
  Orbit orbit_angles_ = kFirstOrbit;
  PickHit picked_;
  std::optional<QPointF> pending_pick_;
  bool want_peak_ = false;  // Go to Peak waits for the worker's pass

  // What came back.
  std::uint64_t posted_ = 0;  // serial of the newest request
  std::uint64_t shown_ = 0;   // serial of the picture shown
  FrameResultPtr result_;
  PickIndexPtr pick_index_;
  quint64 pick_positions_ = 0;
  std::shared_ptr<const NodeHistory> history_;

  // Playback.
  bool playing_ = false;
  QTimer play_timer_;
  QElapsedTimer play_clock_;
  std::int64_t play_first_ = 0;

  // Widgets.
  QStackedWidget* centre_ = nullptr;
  QLabel* message_ = nullptr;
  PictureView* view_ = nullptr;
  SidePanel* panel_ = nullptr;
  HistoryView* history_view_ = nullptr;
  QLabel* pick_label_ = nullptr;
  QSlider* slider_ = nullptr;
  QLabel* time_label_ = nullptr;
  QLabel* step_label_ = nullptr;
  QDoubleSpinBox* speed_ = nullptr;
  QComboBox* speed_unit_ = nullptr;
  QLabel* status_label_ = nullptr;
  QAction* play_action_ = nullptr;
  QAction* loop_action_ = nullptr;
  QMenu* recent_menu_ = nullptr;
  QList<QAction*> problem_actions_;  // need an open problem
};

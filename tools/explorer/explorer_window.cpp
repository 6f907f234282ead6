#include "explorer_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QProgressDialog>
#include <QScrollArea>
#include <QSettings>
#include <QSlider>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QSvgGenerator>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <filesystem>

#include "history_view.h"
#include "movie_export.h"
#include "picture_view.h"
#include "result_folder.h"
#include "side_panel.h"

namespace {

constexpr int kRecentCount = 8;
constexpr double kPickRadius = 6;  // pixels of text, scaled to device pixels

QString text_of(const std::string& s) { return QString::fromStdString(s); }

// The folder a path given by the user stands for: a folder itself, or the
// folder of a file in it; absolute, without "." and "..".
QString folder_of(const QString& path) {
  std::error_code ec;
  std::filesystem::path p = path.toStdString();
  if (std::filesystem::is_regular_file(p, ec)) p = std::filesystem::absolute(p, ec).parent_path();
  return QString::fromStdString(absolute_folder(p.string()));
}

QString number(double v) { return QString::number(v, 'g', 6); }

}  // namespace

ExplorerWindow::ExplorerWindow() {
  setWindowTitle(tr("VELTRA Explorer"));
  setAcceptDrops(true);

  centre_ = new QStackedWidget;
  message_ = new QLabel;
  message_->setAlignment(Qt::AlignCenter);
  message_->setWordWrap(true);
  message_->setTextFormat(Qt::PlainText);
  message_->setMargin(24);
  view_ = new PictureView;
  centre_->addWidget(message_);
  centre_->addWidget(view_);
  auto* middle = new QWidget;
  auto* column = new QVBoxLayout(middle);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(centre_, 1);
  column->addWidget(build_transport());
  setCentralWidget(middle);

  panel_ = new SidePanel;
  auto* panel_dock = new QDockWidget(tr("Settings"), this);
  panel_dock->setObjectName("settings");
  // The panel scrolls rather than setting the window's least height.
  auto* panel_scroll = new QScrollArea;
  panel_scroll->setWidget(panel_);
  panel_scroll->setWidgetResizable(true);
  panel_scroll->setFrameShape(QFrame::NoFrame);
  panel_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  panel_scroll->setMinimumWidth(panel_->sizeHint().width() +
                                panel_scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  panel_dock->setWidget(panel_scroll);
  addDockWidget(Qt::RightDockWidgetArea, panel_dock);

  auto* plot = new QWidget;
  auto* plot_layout = new QVBoxLayout(plot);
  pick_label_ = new QLabel(tr("Click a node or an element of the picture."));
  pick_label_->setTextFormat(Qt::PlainText);
  pick_label_->setWordWrap(true);
  pick_label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  history_view_ = new HistoryView;
  plot_layout->addWidget(pick_label_);
  plot_layout->addWidget(history_view_, 1);
  auto* plot_dock = new QDockWidget(tr("Picked item"), this);
  plot_dock->setObjectName("picked");
  plot_dock->setWidget(plot);
  addDockWidget(Qt::BottomDockWidgetArea, plot_dock);
  resizeDocks({plot_dock}, {230}, Qt::Vertical);
  resizeDocks({panel_dock}, {300}, Qt::Horizontal);

  status_label_ = new QLabel;
  status_label_->setTextFormat(Qt::PlainText);
  statusBar()->addWidget(status_label_, 1);

  build_menus();
  for (QAction* a : problem_actions_) a->setEnabled(false);
  slider_->setEnabled(false);
  show_message(tr("Open a TARVEK result folder: File \u2192 Open, or drop the folder or one of its files here."));

  connect(panel_, &SidePanel::changed, this, &ExplorerWindow::settings_changed);
  connect(view_, &PictureView::zoom_at, this, &ExplorerWindow::zoom_at);
  connect(view_, &PictureView::pan_by, this, &ExplorerWindow::pan_by);
  connect(view_, &PictureView::orbit_by, this, &ExplorerWindow::orbit_by);
  connect(view_, &PictureView::pick_at, this, &ExplorerWindow::pick_at);
  connect(view_, &PictureView::size_changed, this, [this] {
    if (worker_) post();
  });
  play_timer_.setInterval(4);
  connect(&play_timer_, &QTimer::timeout, this, &ExplorerWindow::tick);

  QSettings stored;
  restoreGeometry(stored.value("window/geometry").toByteArray());
  restoreState(stored.value("window/state").toByteArray());
  if (!stored.contains("window/geometry")) resize(1280, 860);
}

ExplorerWindow::~ExplorerWindow() = default;

QWidget* ExplorerWindow::build_transport() {
  // The slider over the whole width; beneath it the buttons, the time and
  // step, and the speed.
  auto* bar = new QWidget;
  auto* rows = new QVBoxLayout(bar);
  rows->setContentsMargins(6, 4, 6, 4);
  rows->setSpacing(2);
  slider_ = new QSlider(Qt::Horizontal);
  rows->addWidget(slider_);
  auto* row = new QHBoxLayout;
  rows->addLayout(row);
  const auto button = [&](QAction* action) {
    auto* b = new QToolButton;
    b->setDefaultAction(action);
    b->setAutoRaise(true);
    row->addWidget(b);
  };
  QStyle* s = style();
  auto* first = new QAction(s->standardIcon(QStyle::SP_MediaSkipBackward), tr("&First Frame"), this);
  auto* back = new QAction(s->standardIcon(QStyle::SP_MediaSeekBackward), tr("Step &Back"), this);
  play_action_ = new QAction(s->standardIcon(QStyle::SP_MediaPlay), tr("&Play"), this);
  auto* forward = new QAction(s->standardIcon(QStyle::SP_MediaSeekForward), tr("Step &Forward"), this);
  auto* last = new QAction(s->standardIcon(QStyle::SP_MediaSkipForward), tr("&Last Frame"), this);
  loop_action_ = new QAction(s->standardIcon(QStyle::SP_BrowserReload), tr("&Loop"), this);
  loop_action_->setCheckable(true);
  first->setShortcut(Qt::Key_Home);
  back->setShortcut(Qt::Key_Left);
  play_action_->setShortcut(Qt::Key_Space);
  forward->setShortcut(Qt::Key_Right);
  last->setShortcut(Qt::Key_End);
  connect(first, &QAction::triggered, this, [this] { set_frame(0); });
  connect(back, &QAction::triggered, this, [this] { set_frame(frame_ - 1); });
  connect(play_action_, &QAction::triggered, this, [this] { play(!playing_); });
  connect(forward, &QAction::triggered, this, [this] { set_frame(frame_ + 1); });
  connect(last, &QAction::triggered, this, [this] { set_frame(frames() - 1); });
  for (QAction* a : {first, back, play_action_, forward, last, loop_action_}) {
    button(a);
    addAction(a);
    problem_actions_.append(a);
  }

  slider_->setTracking(true);
  slider_->setFocusPolicy(Qt::NoFocus);
  connect(slider_, &QSlider::valueChanged, this, [this](int value) {
    if (value != frame_) set_frame(value);
  });
  connect(slider_, &QSlider::sliderPressed, this, [this] { play(false); });

  time_label_ = new QLabel;
  step_label_ = new QLabel;
  for (QLabel* l : {time_label_, step_label_}) {
    l->setMinimumWidth(110);
    l->setTextFormat(Qt::PlainText);
    row->addWidget(l);
  }

  speed_ = new QDoubleSpinBox;
  speed_->setDecimals(2);
  speed_->setRange(0.01, 1000);
  speed_->setValue(1);
  speed_->setToolTip(tr("Playback speed"));
  speed_unit_ = new QComboBox;
  speed_unit_->addItem(tr("\u00d7 real time"));
  speed_unit_->addItem(tr("frames/s"));
  connect(speed_unit_, &QComboBox::currentIndexChanged, this, [this](int index) {
    speed_->setValue(index == 0 ? 1 : 30);
  });
  const auto restart = [this] {
    if (playing_) {
      play_first_ = frame_;
      play_clock_.restart();
    }
  };
  connect(speed_, &QDoubleSpinBox::valueChanged, this, restart);
  row->addStretch(1);
  row->addWidget(new QLabel(tr("Speed")));
  row->addWidget(speed_);
  row->addWidget(speed_unit_);
  return bar;
}

void ExplorerWindow::build_menus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  QAction* open = file->addAction(tr("&Open..."), this, [this] {
    const QString chosen = QFileDialog::getOpenFileName(
        this, tr("Open Any File of a Result Folder"), folder_,
        tr("TARVEK results (comdin.dat *.unf);;All files (*)"));
    if (!chosen.isEmpty()) open_path(chosen);
  });
  open->setShortcut(QKeySequence::Open);
  QAction* open_folder = file->addAction(tr("Open &Folder..."), this, [this] {
    const QString chosen = QFileDialog::getExistingDirectory(this, tr("Open a Result Folder"), folder_);
    if (!chosen.isEmpty()) open_path(chosen);
  });
  open_folder->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_O);
  recent_menu_ = file->addMenu(tr("Open &Recent"));
  fill_recent_menu();
  file->addSeparator();
  QAction* save = file->addAction(tr("&Save Picture..."), this, &ExplorerWindow::save_picture);
  save->setShortcut(QKeySequence::Save);
  QAction* copy = file->addAction(tr("&Copy Picture"), this, &ExplorerWindow::copy_picture);
  copy->setShortcut(QKeySequence::Copy);
  QAction* movie = file->addAction(tr("Export &Movie..."), this, &ExplorerWindow::export_movie);
  movie->setShortcut(Qt::CTRL | Qt::Key_E);
  file->addSeparator();
  QAction* quit = file->addAction(tr("&Quit"), this, &QWidget::close);
  quit->setShortcut(QKeySequence::Quit);

  QMenu* view = menuBar()->addMenu(tr("&View"));
  QAction* fit_action = view->addAction(tr("&Fit to Window"), this, &ExplorerWindow::fit);
  fit_action->setShortcut(Qt::Key_F);
  QAction* first_view_action = view->addAction(tr("Fi&rst View"), this, &ExplorerWindow::first_view);
  first_view_action->setToolTip(tr("The viewer's oblique projection, the whole structure"));
  QAction* zoom_in = view->addAction(tr("Zoom &In"), this, [this] {
    const QSize size = view_->device_size();
    zoom_at(size.width() / 2.0, size.height() / 2.0, 1.25);
  });
  zoom_in->setShortcut(QKeySequence::ZoomIn);
  QAction* zoom_out = view->addAction(tr("Zoom &Out"), this, [this] {
    const QSize size = view_->device_size();
    zoom_at(size.width() / 2.0, size.height() / 2.0, 0.8);
  });
  zoom_out->setShortcut(QKeySequence::ZoomOut);
  view->addSeparator();
  QAction* peak = view->addAction(tr("Go to &Peak"), this, &ExplorerWindow::go_to_peak);
  peak->setShortcut(Qt::Key_P);
  peak->setToolTip(tr("The frame of the largest displacement of the range"));

  QMenu* playback = menuBar()->addMenu(tr("&Playback"));
  for (QAction* a : actions()) playback->addAction(a);

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  help->addAction(tr("&About VELTRA Explorer"), this, [this] {
    QMessageBox::about(this, tr("About VELTRA Explorer"),
                       tr("VELTRA Explorer %1\n\nPlays, scrubs, zooms into and picks the response of a structure "
                          "from a TARVEK result folder, drawn with the viewer's own code.\n\n"
                          "Wheel: zoom about the cursor. Drag: pan. Right drag or Shift drag: orbit a spatial "
                          "model. Click: pick a node or an element.")
                           .arg(QApplication::applicationVersion()));
  });
  problem_actions_ << save << copy << movie << fit_action << first_view_action << zoom_in << zoom_out << peak;
  for (QAction* a : {fit_action, first_view_action, zoom_in, zoom_out, peak}) addAction(a);
}

void ExplorerWindow::show_message(const QString& text) {
  message_->setText(text);
  centre_->setCurrentWidget(message_);
}

void ExplorerWindow::open_path(const QString& path) {
  const QString folder = folder_of(path);
  play(false);
  show_message(tr("Reading %1 ...").arg(folder));
  status_label_->clear();
  const std::string name = folder.toStdString();
  background_.run<LoadResult>([name] { return load_result_folder(name); },
                              [this, folder](LoadResult loaded) { opened(folder, loaded); });
}

void ExplorerWindow::opened(const QString& folder, const LoadResult& loaded) {
  if (!loaded.status.is_ok()) {
    // The reader's own message, naming the file; the Explorer stays as it is
    // otherwise, ready for another folder.
    show_message(tr("%1 cannot be opened:\n\n%2").arg(folder, text_of(loaded.status.message())));
    setWindowTitle(tr("VELTRA Explorer"));
    worker_.reset();
    problem_.reset();
    for (QAction* a : problem_actions_) a->setEnabled(false);
    slider_->setEnabled(false);
    return;
  }
  worker_.reset();
  folder_ = folder;
  problem_ = loaded.problem;
  const ProblemControl& c = problem_->control;
  frame_ = 0;
  zoom_.reset();
  orbit_ = false;
  picked_ = PickHit{};
  pending_pick_.reset();
  result_.reset();
  pick_index_.reset();
  history_.reset();
  history_view_->set_history(nullptr, QString(), QString());
  pick_label_->setText(tr("Click a node or an element of the picture."));
  posted_ = shown_ = 0;
  panel_->set_problem(*problem_);
  add_recent(folder);
  setWindowTitle(tr("%1 \u2014 VELTRA Explorer").arg(c.problem_title.empty() ? folder : text_of(c.problem_title)));
  for (QAction* a : problem_actions_) a->setEnabled(true);
  slider_->setEnabled(true);

  worker_ = std::make_unique<FrameWorker>(problem_);
  connect(worker_.get(), &FrameWorker::frameReady, this, &ExplorerWindow::frame_ready, Qt::QueuedConnection);
  connect(worker_.get(), &FrameWorker::pickIndexReady, this, &ExplorerWindow::pick_index_ready,
          Qt::QueuedConnection);
  worker_->start();
  centre_->setCurrentWidget(view_);
  settings_changed();
}

void ExplorerWindow::add_recent(const QString& folder) {
  QSettings stored;
  QStringList recent = stored.value("recent").toStringList();
  recent.removeAll(folder);
  recent.prepend(folder);
  while (recent.size() > kRecentCount) recent.removeLast();
  stored.setValue("recent", recent);
  fill_recent_menu();
}

void ExplorerWindow::fill_recent_menu() {
  recent_menu_->clear();
  const QStringList recent = QSettings().value("recent").toStringList();
  for (const QString& folder : recent) recent_menu_->addAction(folder, this, [this, folder] { open_path(folder); });
  recent_menu_->setEnabled(!recent.isEmpty());
}

std::int64_t ExplorerWindow::frames() const {
  GraphSettings s = panel_->settings();
  correct_frequency(s);
  return std::max<std::int64_t>(frame_count(s), 0);
}

FrameRequest ExplorerWindow::view_request() const {
  FrameRequest r;
  r.text_scale = view_->device_ratio();
  r.settings = panel_->settings();
  r.colour_scheme = panel_->colour_scheme();
  r.colouring = panel_->colouring();
  r.fit_magnification = panel_->fit_magnification();
  r.orbit = orbit_;
  r.orbit_angles = orbit_angles_;
  r.zoom = zoom_;
  return r;
}

void ExplorerWindow::post() {
  if (!worker_) return;
  FrameRequest r = view_request();
  r.frame = frame_;
  const std::int64_t count = frames();
  if (playing_ && count > 1) {
    std::int64_t next = frame_ + 1;
    if (next >= count) next = loop_action_->isChecked() ? 0 : -1;
    if (next >= 0) r.next_frame = next;
  }
  const QSize size = view_->device_size();
  r.width = size.width();
  r.height = size.height();
  r.highlight = picked_;
  r.find_peak = want_peak_;
  posted_ = worker_->request(r);
}

void ExplorerWindow::set_frame(std::int64_t frame) {
  const std::int64_t count = frames();
  if (count <= 0) return;
  frame_ = std::clamp<std::int64_t>(frame, 0, count - 1);
  {
    const QSignalBlocker block(slider_);
    slider_->setValue(static_cast<int>(frame_));
  }
  if (playing_) {
    play_first_ = frame_;
    play_clock_.restart();
  }
  post();
}

void ExplorerWindow::settings_changed() {
  const std::int64_t count = frames();
  {
    const QSignalBlocker block(slider_);
    slider_->setRange(0, static_cast<int>(std::max<std::int64_t>(count - 1, 0)));
    slider_->setPageStep(std::max(1, static_cast<int>(count / 10)));
  }
  set_frame(std::min(frame_, std::max<std::int64_t>(count - 1, 0)));
}

void ExplorerWindow::frame_ready(const QImage& picture, const FrameResultPtr& result) {
  if (result->serial < shown_) return;  // an older request's, overtaken
  if (!result->status.is_ok()) {
    status_label_->setText(text_of(result->status.message()));
    if (playing_) play(false);
    return;
  }
  shown_ = result->serial;
  status_label_->clear();
  QImage shown = picture;
  shown.setDevicePixelRatio(view_->device_ratio());
  view_->show_picture(shown);
  result_ = result;
  time_label_->setText(text_of(time_text(result->time)));
  step_label_->setText(text_of(step_text(result->step, problem_->control.step_count)));
  panel_->show_factor(result->displacement_factor);
  history_view_->set_cursor_time(result->time);
  show_pick_details(*result);
  if (want_peak_ && result->peak_frame >= 0) {
    want_peak_ = false;
    set_frame(result->peak_frame);
  }
  if (pending_pick_ && pick_index_ && pick_positions_ == result->positions) {
    const QPointF at = *pending_pick_;
    pending_pick_.reset();
    pick_at(at.x(), at.y());
  }
  if (playing_) tick();
}

void ExplorerWindow::pick_index_ready(quint64 positions, const PickIndexPtr& index) {
  pick_index_ = index;
  pick_positions_ = positions;
  if (pending_pick_ && result_ && result_->positions == positions) {
    const QPointF at = *pending_pick_;
    pending_pick_.reset();
    pick_at(at.x(), at.y());
  }
}

double ExplorerWindow::interval_ms() const {
  PlaySpeed speed;
  speed.real_time = speed_unit_->currentIndex() == 0;
  speed.value = speed_->value();
  const GraphSettings s = panel_->settings();
  return frame_interval_ms(speed, problem_ ? problem_->control.time_step : 0, s.step_frequency);
}

void ExplorerWindow::play(bool on) {
  if (on && (!worker_ || frames() <= 1)) on = false;
  if (on && frame_ >= frames() - 1 && !loop_action_->isChecked()) set_frame(0);
  playing_ = on;
  play_action_->setIcon(style()->standardIcon(on ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
  play_action_->setText(on ? tr("&Pause") : tr("&Play"));
  if (on) {
    play_first_ = frame_;
    play_clock_.start();
    play_timer_.start();
  } else {
    play_timer_.stop();
  }
}

void ExplorerWindow::tick() {
  if (!playing_) return;
  // One request in flight at a time: a frame is asked for when the last one
  // is shown, so that playback never outruns the drawing.
  if (posted_ > shown_) return;
  const PlayPosition at =
      play_position(play_first_, static_cast<double>(play_clock_.elapsed()), interval_ms(), frames(),
                    loop_action_->isChecked());
  if (at.frame != frame_) {
    frame_ = at.frame;
    const QSignalBlocker block(slider_);
    slider_->setValue(static_cast<int>(frame_));
    post();
  } else if (at.finished) {
    play(false);
  }
}

void ExplorerWindow::zoom_at(double px, double py, double factor) {
  if (!result_) return;
  const WorldRect current = zoom_ ? *zoom_ : result_->fit_window;
  zoom_ = zoom_about(current, result_->fit_window, result_->y_up, result_->width, result_->height, px, py, factor);
  post();
}

void ExplorerWindow::pan_by(double dx, double dy) {
  if (!result_) return;
  const WorldRect current = zoom_ ? *zoom_ : result_->fit_window;
  zoom_ = ::pan_by(current, result_->y_up, result_->width, result_->height, dx, dy);
  post();
}

void ExplorerWindow::orbit_by(double dx, double dy) {
  if (!problem_ || problem_->control.NGL != 3) {
    pan_by(dx, dy);
    return;
  }
  if (!orbit_) {
    // The first orbit leaves the oblique view for an orthographic one, with
    // a window of its own.
    orbit_ = true;
    orbit_angles_ = kFirstOrbit;
    zoom_.reset();
  } else {
    orbit_angles_ = ::orbit_by(orbit_angles_, dx, dy);
  }
  post();
}

void ExplorerWindow::pick_at(double px, double py) {
  if (!result_) return;
  if (!pick_index_ || pick_positions_ != result_->positions) {
    // The index of this picture is on its way.
    pending_pick_ = QPointF(px, py);
    return;
  }
  picked(pick_index_->pick(result_->mapping(), px, py, kPickRadius * view_->device_ratio()));
}

void ExplorerWindow::picked(const PickHit& hit) {
  picked_ = hit;
  if (hit.kind == PickHit::none) pick_label_->setText(tr("Nothing there: click nearer to a node or an element."));
  if (hit.kind == PickHit::node) {
    // The node's history over every stored step, read beside the window.
    const int node = hit.item;
    using Read = std::pair<Status, std::shared_ptr<NodeHistory>>;
    background_.run<Read>(
        [problem = problem_, node] {
          auto history = std::make_shared<NodeHistory>();
          Status status = read_node_history(*problem, node, history.get());
          return std::make_pair(status, history);
        },
        [this, node, problem = problem_](Read read) {
          if (problem != problem_) return;
          if (!read.first.is_ok()) {
            status_label_->setText(text_of(read.first.message()));
            return;
          }
          history_ = read.second;
          history_view_->set_history(history_, text_of(problem_->control.problem_title),
                                     tr("Displacement of node %1").arg(node));
          if (result_) history_view_->set_cursor_time(result_->time);
        });
  }
  post();
}

void ExplorerWindow::show_pick_details(const FrameResult& r) {
  if (r.highlight.kind != picked_.kind || r.highlight.item != picked_.item) return;
  if (r.highlight.kind == PickHit::node) {
    static const char* axes[3] = {"x", "y", "z"};
    QString coordinates, displacement;
    for (std::size_t j = 0; j < r.coordinates.size() && j < 3; ++j) {
      const QString sep = j == 0 ? "" : ", ";
      coordinates += sep + axes[j] + " = " + number(r.coordinates[j]);
      displacement += sep + "u" + QString::number(j + 1) + " = " + number(r.displacement[j]);
    }
    pick_label_->setText(tr("Node %1 at %2; displacement at %3: %4")
                             .arg(r.highlight.item)
                             .arg(coordinates, text_of(time_text(r.time)), displacement));
  } else if (r.highlight.kind == PickHit::element) {
    const int e = r.highlight.item;
    const QString line = r.element_value != 0 ? tr("solid") : r.element_code == -1 ? tr("dashed") : tr("dotted");
    pick_label_->setText(tr("Element %1 from node %2 to node %3; at %4: value %5, code %6 (drawn %7)")
                             .arg(e)
                             .arg(problem_->element_node1[e - 1])
                             .arg(problem_->element_node2[e - 1])
                             .arg(text_of(time_text(r.time)), number(r.element_value))
                             .arg(r.element_code)
                             .arg(line));
  }
}

void ExplorerWindow::fit() {
  zoom_.reset();
  post();
}

void ExplorerWindow::first_view() {
  orbit_ = false;
  zoom_.reset();
  post();
}

void ExplorerWindow::go_to_peak() {
  if (result_ && result_->peak_frame >= 0) {
    set_frame(result_->peak_frame);
    return;
  }
  // The worker finds it with a pass over the range; the frame follows.
  want_peak_ = true;
  post();
}

void ExplorerWindow::save_picture() {
  const QImage picture = view_->picture();
  if (picture.isNull()) return;
  QString filter;
  QString path = QFileDialog::getSaveFileName(this, tr("Save Picture"), folder_ + "/picture.png",
                                              tr("PNG image (*.png);;SVG image (*.svg)"), &filter);
  if (path.isEmpty()) return;
  const bool svg = path.endsWith(".svg", Qt::CaseInsensitive) || (filter.contains("svg") && !path.contains('.'));
  if (!svg && !path.contains('.')) path += ".png";
  bool saved;
  if (svg) {
    if (!path.endsWith(".svg", Qt::CaseInsensitive)) path += ".svg";
    // The picture as drawn, pixel for pixel, in an SVG frame of its size.
    QSvgGenerator generator;
    generator.setFileName(path);
    generator.setSize(picture.size());
    generator.setViewBox(QRect(QPoint(0, 0), picture.size()));
    generator.setTitle(windowTitle());
    QImage plain = picture;
    plain.setDevicePixelRatio(1);
    QPainter painter;
    saved = painter.begin(&generator);
    if (saved) {
      painter.drawImage(QPoint(0, 0), plain);
      saved = painter.end();
    }
  } else {
    saved = picture.save(path, "PNG");
  }
  if (!saved) QMessageBox::warning(this, tr("Save Picture"), tr("%1 cannot be written.").arg(path));
  else status_label_->setText(tr("Saved %1").arg(path));
}

void ExplorerWindow::copy_picture() {
  const QImage picture = view_->picture();
  if (!picture.isNull()) QGuiApplication::clipboard()->setImage(picture);
}

void ExplorerWindow::export_movie() {
  if (!worker_ || !result_) return;
  QString path = QFileDialog::getSaveFileName(this, tr("Export Movie"), folder_ + "/movie.mp4",
                                              tr("MP4 movie (*.mp4);;WebM movie (*.webm);;GIF animation (*.gif)"));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += ".mp4";
  play(false);
  FrameRequest view = view_request();
  view.width = result_->width;
  view.height = result_->height;
  // The movie plays at the chosen speed, within what players take.
  const int fps = std::clamp(static_cast<int>(std::lround(1000 / interval_ms())), 1, 60);
  auto* movie = new MovieExport(problem_, view, path.toStdString(), fps, this);
  auto* progress = new QProgressDialog(tr("Writing %1 ...").arg(path), tr("Cancel"), 0, 100, this);
  progress->setWindowTitle(tr("Export Movie"));
  progress->setWindowModality(Qt::WindowModal);
  progress->setMinimumDuration(0);
  progress->setAutoClose(false);
  progress->setAutoReset(false);
  connect(progress, &QProgressDialog::canceled, movie, &MovieExport::cancel);
  connect(movie, &MovieExport::progress, progress, [progress](qint64 done, qint64 total) {
    progress->setMaximum(static_cast<int>(total));
    progress->setValue(static_cast<int>(done));
  });
  connect(movie, &MovieExport::done, this, [this, movie, progress, path](const QString& error, bool cancelled) {
    progress->close();
    progress->deleteLater();
    movie->join();
    movie->deleteLater();
    if (!error.isEmpty())
      QMessageBox::warning(this, tr("Export Movie"), error);
    else
      status_label_->setText(cancelled ? tr("Export cancelled; nothing was written.") : tr("Wrote %1").arg(path));
  });
  movie->start();
}

void ExplorerWindow::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (!urls.isEmpty() && urls.first().isLocalFile()) event->acceptProposedAction();
}

void ExplorerWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return;
  event->acceptProposedAction();
  open_path(urls.first().toLocalFile());
}

void ExplorerWindow::closeEvent(QCloseEvent* event) {
  QSettings stored;
  stored.setValue("window/geometry", saveGeometry());
  stored.setValue("window/state", saveState());
  play(false);
  worker_.reset();
  event->accept();
}

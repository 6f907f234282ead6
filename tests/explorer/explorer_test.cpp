// The Explorer's logic that a user cannot see at once: which frame a time
// or a moment of playback shows, the fit factor, picking, which numbers are
// legible, and newer requests superseding older ones.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <random>
#include <thread>

#include "explorer_frames.h"
#include "frame_worker.h"
#include "input/load_problem.h"
#include "legible_numbers.h"
#include "magnification.h"
#include "movie_export.h"
#include "pick_index.h"
#include "render/render_fixtures.h"
#include "render/result_folder.h"
#include "render/structure.h"
#include "request_slot.h"
#include "sample_model.h"
#include "sample_writer.h"
#include "timeline.h"

using namespace render_test;

namespace {

GraphSettings range(int start, int end, int frequency) {
  GraphSettings s = default_settings;
  s.start_step = start;
  s.end_step = end;
  s.step_frequency = frequency;
  return s;
}

TEST(ExplorerTimeline, TimeAndPlaybackToFrame) {
  struct Row {
    int start, end, frequency;
    float time_step;
    double t;
    std::int64_t frame;
  } rows[] = {
      {0, 400, 1, 0.02f, 1.26, 63},   // "t = 1.26", "step 63 of 400"
      {0, 400, 1, 0.02f, 1.269, 63},  // the nearest step
      {0, 400, 1, 0.25f, 0.375, 1},   // half way between steps 1 and 2: the earlier
      {0, 400, 1, 0.02f, -5, 0},      // before the range: its first frame
      {0, 400, 1, 0.02f, 99, 400},    // after it: its last
      {10, 100, 5, 0.1f, 2.1, 2},     // step 20 is frame 2 of steps 10, 15, 20...
      {10, 100, 5, 0.1f, 0.0, 0},
      {10, 8, 1, 0.1f, 1.0, 0},       // no frame at all
      {0, 10, 1, 0.0f, 3.0, 0},       // no time step: the first frame
  };
  for (const Row& r : rows)
    EXPECT_EQ(frame_at_time(range(r.start, r.end, r.frequency), r.time_step, r.t), r.frame)
        << r.start << ".." << r.end << "/" << r.frequency << " at t = " << r.t;

  EXPECT_EQ(time_text(63 * 0.02f), "t = 1.26");
  EXPECT_EQ(step_text(63, 400), "step 63 of 400");

  // Real time at 2x: a frame of two steps of 0.02 s every 20 ms.
  EXPECT_DOUBLE_EQ(frame_interval_ms({true, 2}, 0.02f, 2), 1000.0 * (0.02f * 2.0) / 2);
  EXPECT_DOUBLE_EQ(frame_interval_ms({false, 25}, 0.02f, 2), 40);
  EXPECT_DOUBLE_EQ(frame_interval_ms({true, 1}, 0.0f, 1), 1000.0 / 30);

  struct Play {
    std::int64_t first;
    double elapsed, interval;
    std::int64_t frames;
    bool loop;
    PlayPosition at;
  } plays[] = {
      {3, 0, 40, 10, false, {3, false}},
      {3, 119, 40, 10, false, {5, false}},
      {3, 400, 40, 10, false, {9, true}},  // held on the last frame
      {3, 400, 40, 10, true, {3, false}},  // 13 wraps to 3
      {0, 1e12, 1, 7, true, {static_cast<std::int64_t>(std::fmod(1e12, 7)), false}},
      {0, 50, 40, 0, false, {0, true}},
  };
  for (const Play& p : plays) {
    const PlayPosition at = play_position(p.first, p.elapsed, p.interval, p.frames, p.loop);
    EXPECT_EQ(at.frame, p.at.frame) << p.first << " + " << p.elapsed << " ms";
    EXPECT_EQ(at.finished, p.at.finished) << p.first << " + " << p.elapsed << " ms";
  }
}

TEST(ExplorerFit, LargestDisplacementAtATenthOfTheLargerExtent) {
  // 18 wide, 7 high: a tenth of the larger extent is 1.8.
  const auto p = make_problem(2, {{0, 0, 0, {}, {}}, {18, 0, 0, {}, {}}, {9, 7, 0, {}, {}}}, {{1, 2}});
  struct Row {
    double largest;
    std::optional<float> factor;
  } rows[] = {
      {0.45, 4.0f},
      {1.8, 1.0f},
      {0, std::nullopt},         // nothing moves: the factor stays the user's
      {NAN, std::nullopt},
      {INFINITY, std::nullopt},
      {1e-40, std::nullopt},     // beyond a 32-bit real
  };
  for (const Row& r : rows) {
    const std::optional<float> factor = fit_factor(*p, r.largest);
    ASSERT_EQ(factor.has_value(), r.factor.has_value()) << r.largest;
    if (factor) {
      EXPECT_FLOAT_EQ(*factor, *r.factor) << r.largest;
    }
  }
  EXPECT_EQ(largest_magnitude({0.1f, -0.5f, NAN, INFINITY, 0.3f}), 0.5f);
  // A node whose coordinates are not numbers does not widen the model.
  const auto odd = make_problem(2, {{0, 0, 0, {}, {}}, {NAN, 4, 0, {}, {}}, {2, 1, 0, {}, {}}}, {});
  EXPECT_DOUBLE_EQ(model_extent(*odd), 4);
}

// The brute-force answer the index must give: the nearest node within the
// radius (the lower number on a tie), else the nearest element.
PickHit scan(const Problem& p, const std::vector<float>& x, const std::vector<float>& y, const PixelMapping& m,
             double px, double py, double radius) {
  PickHit best;
  double best2 = radius * radius;
  for (int n = 1; n <= p.control.node_count; ++n) {
    const double d2 = std::pow(m.to_px(x[n - 1]) - px, 2) + std::pow(m.to_py(y[n - 1]) - py, 2);
    if (d2 < best2 || (d2 == best2 && best.kind == PickHit::none)) best = {PickHit::node, n, 0}, best2 = d2;
  }
  if (best.kind == PickHit::node) return best;
  for (int e = 1; e <= p.control.element_count; ++e) {
    const int a = p.element_node1[e - 1], b = p.element_node2[e - 1];
    if (a < 1 || b < 1) continue;
    const double ax = m.to_px(x[a - 1]), ay = m.to_py(y[a - 1]), bx = m.to_px(x[b - 1]), by = m.to_py(y[b - 1]);
    const double dx = bx - ax, dy = by - ay, l2 = dx * dx + dy * dy;
    const double t = l2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / l2, 0.0, 1.0) : 0;
    const double d2 = std::pow(px - ax - t * dx, 2) + std::pow(py - ay - t * dy, 2);
    if (d2 < best2 || (d2 == best2 && best.kind == PickHit::none)) best = {PickHit::element, e, 0}, best2 = d2;
  }
  return best;
}

TEST(ExplorerPick, TheIndexFindsWhatAScanFinds) {
  // Random nodes, short elements between neighbours in number, a few long
  // ones across the whole model, and a node whose position is not a number.
  std::mt19937 random(7);
  std::uniform_real_distribution<float> coordinate(-50, 50);
  std::vector<NodeSpec> nodes;
  std::vector<std::pair<int, int>> elements;
  const int count = 4000;
  for (int n = 1; n <= count; ++n) nodes.push_back({coordinate(random), coordinate(random), 0, {}, {}});
  for (int n = 1; n < count; n += 2) elements.push_back({n, n + 1});
  for (int n = 1; n <= 20; ++n) elements.push_back({n, count - n});
  elements.push_back({5, 0});  // no second end: never picked
  const auto p = make_problem(2, nodes, elements);
  std::vector<float> x(count), y(count);
  for (int n = 0; n < count; ++n) x[n] = nodes[n].x, y[n] = nodes[n].y;
  x[count - 1] = NAN;
  const PickIndex index(p, x, y);

  // A wide picture of the model, y up, so the pixels are not square.
  const PixelMapping m = pixel_mapping(WorldWindow{true, -60, -60, 60, 60}, 1400, 700);
  std::uniform_real_distribution<double> px(0, 1399), py(0, 699);
  int nodes_hit = 0, elements_hit = 0;
  for (int i = 0; i < 3000; ++i) {
    const double cx = px(random), cy = py(random);
    const PickHit want = scan(*p, x, y, m, cx, cy, 6);
    const PickHit got = index.pick(m, cx, cy, 6);
    ASSERT_EQ(got.kind, want.kind) << "at " << cx << ", " << cy;
    ASSERT_EQ(got.item, want.item) << "at " << cx << ", " << cy;
    nodes_hit += got.kind == PickHit::node;
    elements_hit += got.kind == PickHit::element;
  }
  // The picks met every kind of answer.
  EXPECT_GT(nodes_hit, 100);
  EXPECT_GT(elements_hit, 100);
  // A click on a joint is the node, not the elements meeting there.
  EXPECT_EQ(index.pick(m, m.to_px(x[0]), m.to_py(y[0]), 6).kind, PickHit::node);
}

TEST(ExplorerNumbers, OnlyNumbersWithRoomOfTheirOwnAreDrawn) {
  // Four free nodes in a row, the second 0.1 beside the first, the last far
  // outside the picture; node 3 has a fixed support, so its number is drawn
  // even with node numbers off.
  const auto p = make_problem(
      2, {{0, 0, 0, {}, {}}, {0.1f, 0, 0, {}, {}}, {5, 0, 0, {1, 1}, {}}, {500, 0, 0, {}, {}}}, {{1, 3}, {2, 3}});
  GraphRun run;
  prepare_graph_run(run, p, default_settings, kSchemeStandard, nullptr);
  project_undisplaced(run);
  struct Row {
    double centre, half_width;  // of the world window about (centre, 0): smaller is closer
    bool node_numbers, element_numbers;
    std::vector<std::uint8_t> nodes, elements;
  } rows[] = {
      {3, 10, true, false, {1, 0, 1, 0}, {0, 0}},    // node 2's number would cover node 1's
      {0.5, 1.5, true, false, {1, 1, 0, 0}, {0, 0}}, // closer, node 2's has room; node 3 is outside
      {30, 0.5, true, false, {0, 0, 0, 0}, {0, 0}},  // no node in the picture
      {3, 10, false, false, {0, 0, 1, 0}, {0, 0}},   // free nodes show no number at all
      {3, 10, true, true, {1, 0, 1, 0}, {1, 0}},     // element 2's midpoint is taken by element 1's
  };
  for (const Row& r : rows) {
    run.settings.show_node_indices = r.node_numbers;
    run.settings.show_element_indices = r.element_numbers;
    set_world_window(run.view, r.centre - r.half_width, -r.half_width, r.centre + r.half_width, r.half_width);
    frame_units(run.view);
    const PixelMapping m = pixel_mapping(WorldWindow{true, run.view.window_x1, run.view.window_y1,
                                                     run.view.window_x2, run.view.window_y2},
                                         800, 400);
    choose_legible_numbers(run, m, 800, 400, {7, 12}, {7, 12});
    EXPECT_EQ(run.node_number_shown, r.nodes) << "half width " << r.half_width;
    EXPECT_EQ(run.element_number_shown, r.elements) << "half width " << r.half_width;
  }
}

// A plane frame of two elements whose top sways to the right, the most at
// step 7, as files.
std::string swaying_folder() {
  const auto p = make_problem(2, {{0, 0, 0, {1, 1}, {}}, {0, 3, 0, {}, {}}, {4, 3, 0, {}, {}}}, {{1, 2}, {2, 3}});
  std::vector<StepData> steps;
  for (int s = 0; s <= 10; ++s) {
    const float sway = s <= 7 ? 0.01f * s : 0.01f * (14 - s);
    steps.push_back({{0, 0, sway, 0, sway, 0}, {1, 1}, {0, 0}});
  }
  const std::string dir = scratch_path("explorer-sway");
  write_result_folder(dir, *p, steps);
  return dir;
}

TEST(ExplorerRequests, ANewerRequestSupersedesOneNotYetDrawn) {
  RequestSlot<int> slot;
  EXPECT_EQ(slot.post(10), 1u);
  EXPECT_EQ(slot.post(20), 2u);
  const auto taken = slot.take();
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->first, 2u);  // only the newest is taken
  EXPECT_EQ(taken->second, 20);
  EXPECT_FALSE(slot.superseded(2));
  slot.post(30);
  EXPECT_TRUE(slot.superseded(2));

  const LoadResult loaded = load_problem(swaying_folder());
  ASSERT_TRUE(loaded.status.is_ok()) << loaded.status.message();
  FrameRequest request;
  request.width = 320;
  request.height = 200;
  request.settings = range(0, 10, 1);
  request.fit_magnification = true;
  request.frame = 3;

  // A pass over the range stops for a newer request, drawing nothing.
  ExplorerFrames frames(loaded.problem);
  frames.attach();
  FrameResult result;
  int asked = 0;
  EXPECT_FALSE(frames.draw(request, [&] { return ++asked > 4; }, &result));
  EXPECT_EQ(asked, 5);
  ASSERT_TRUE(frames.draw(request, [] { return false; }, &result));
  ASSERT_TRUE(result.status.is_ok()) << result.status.message();
  EXPECT_EQ(result.step, 3);
  EXPECT_EQ(result.peak_frame, 7);
  EXPECT_FLOAT_EQ(result.displacement_factor, 0.4f / 0.07f);  // 4 wide: 0.4 over a sway of 0.07

  // Requests posted before the worker starts: only the newest is drawn.
  std::mutex mutex;
  std::vector<std::pair<std::uint64_t, std::int64_t>> drawn;  // serial, step
  FrameWorker worker(loaded.problem);
  QObject::connect(
      &worker, &FrameWorker::frameReady, &worker,
      [&](const QImage& picture, const FrameResultPtr& r) {
        EXPECT_FALSE(picture.isNull()) << r->status.message();
        std::lock_guard<std::mutex> lock(mutex);
        drawn.emplace_back(r->serial, r->step);
      },
      Qt::DirectConnection);
  for (std::int64_t frame : {1, 2, 9}) {
    request.frame = frame;
    worker.request(request);
  }
  worker.start();
  for (int i = 0; i < 500; ++i) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      if (!drawn.empty()) break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  std::lock_guard<std::mutex> lock(mutex);
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].first, 3u);
  EXPECT_EQ(drawn[0].second, 9);
}

TEST(ExplorerView, AZoomKeepsThePointUnderTheCursorWithinItsLimits) {
  const WorldRect fit{-10, -5, 10, 5};
  const int width = 801, height = 401;
  struct Row {
    double px, py, factor;
    double zoom;  // fit width over the window's width afterwards
  } rows[] = {
      {400, 200, 2, 2}, {0, 0, 4, 4}, {800, 123, 0.5, 0.5},
      {300, 100, 1e9, kMaxZoomIn},         // held at the closest
      {300, 100, 1e-9, 1 / kMaxZoomOut},   // and at the farthest
  };
  for (bool y_up : {true, false})
    for (const Row& r : rows) {
      const PixelMapping before = mapping_of(fit, y_up, width, height);
      const WorldRect zoomed = zoom_about(fit, fit, y_up, width, height, r.px, r.py, r.factor);
      const PixelMapping after = mapping_of(zoomed, y_up, width, height);
      EXPECT_NEAR(fit.width() / zoomed.width(), r.zoom, 1e-9 * r.zoom);
      EXPECT_NEAR(fit.height() / zoomed.height(), r.zoom, 1e-9 * r.zoom);
      // The world point under the cursor is under it still.
      EXPECT_NEAR(after.to_px(before.to_x(r.px)), r.px, 1e-6) << r.factor;
      EXPECT_NEAR(after.to_py(before.to_y(r.py)), r.py, 1e-6) << r.factor;
    }
  // A pan moves what lay under the cursor with it.
  const WorldRect moved = pan_by(fit, true, width, height, 40, -25);
  const PixelMapping before = mapping_of(fit, true, width, height), after = mapping_of(moved, true, width, height);
  EXPECT_NEAR(after.to_px(before.to_x(100)), 140, 1e-9);
  EXPECT_NEAR(after.to_py(before.to_y(100)), 75, 1e-9);
}

// The picture the Explorer draws at its first view is the viewer's: the
// golden pictures of veltra-export, each the last frame of its range drawn
// after the ones before (a trail goes on as it does in the viewer).
TEST(ExplorerFrames, TheFirstViewIsTheViewersPicture) {
  struct Row {
    const char* golden;
    sample::Kind kind;
    int end, frequency;
    bool show_all = false, black = false, reverse_vertical = false, reverse_y = false;
  } rows[] = {
      {"portal", sample::Kind::portal, 40, 10},
      {"portal-show-all", sample::Kind::portal, 40, 10, true},
      {"portal-black-all", sample::Kind::portal, 40, 10, true, true},
      {"portal-reverse", sample::Kind::portal, 40, 10, false, false, true},
      {"space", sample::Kind::space, 30, 10},
      {"space-reverse-y", sample::Kind::space, 30, 10, false, false, false, true},
  };
  for (const Row& r : rows) {
    const std::string dir = scratch_path(std::string("explorer-") + r.golden);
    std::filesystem::remove_all(dir);
    ASSERT_TRUE(sample::write_sample(sample::make_sample(r.kind), dir).is_ok());
    const LoadResult loaded = load_problem(dir);
    ASSERT_TRUE(loaded.status.is_ok()) << loaded.status.message();
    ExplorerFrames frames(loaded.problem);
    frames.attach();
    FrameRequest request;
    request.width = 400;
    request.height = 300;
    request.legible_numbers = false;  // the viewer writes every number
    request.settings = range(0, r.end, r.frequency);
    request.settings.show_all_positions = r.show_all;
    request.settings.reverse_vertical = r.reverse_vertical;
    request.settings.reverse_y = r.reverse_y;
    if (r.black) {
      set_colours(request.settings, all_black_colours);
      request.colour_scheme = kSchemeAllBlack;
    }
    FrameResult result;
    for (std::int64_t j = 0; j <= r.end / r.frequency; ++j) {
      request.frame = j;
      ASSERT_TRUE(frames.draw(request, [] { return false; }, &result));
      ASSERT_TRUE(result.status.is_ok()) << result.status.message();
    }
    const QImage golden = QImage(QString(GOLDEN_DIR) + "/" + r.golden + ".png").convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(golden.isNull()) << r.golden;
    const QImage drawn = frames.picture().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(drawn == golden) << r.golden << ": the Explorer's picture differs from the viewer's";
  }
}

// A range the files do not hold is reported with the reader's message, and
// a range they hold is still drawn.
TEST(ExplorerFrames, AReadErrorIsToldAndAShorterRangeStillDraws) {
  const std::string dir = swaying_folder();
  // u01.unf ends within step 8.
  std::filesystem::resize_file(dir + "/u01.unf", (8 * 3 + 1) * 64);
  const LoadResult loaded = load_problem(dir);
  ASSERT_TRUE(loaded.status.is_ok()) << loaded.status.message();
  ExplorerFrames frames(loaded.problem);
  frames.attach();
  FrameRequest request;
  request.width = 200;
  request.height = 150;
  request.settings = range(0, 10, 1);
  request.frame = 5;
  FrameResult result;
  ASSERT_TRUE(frames.draw(request, [] { return false; }, &result));
  EXPECT_EQ(result.status.message(), "u01.unf: step 8 is beyond the end of the file, which holds steps 0 to 7");
  request.settings = range(0, 7, 1);
  ASSERT_TRUE(frames.draw(request, [] { return false; }, &result));
  EXPECT_TRUE(result.status.is_ok()) << result.status.message();
  EXPECT_EQ(result.step, 5);
}

// Export Movie: the range's frames as ffprobe reads them; a cancel or a
// failure leaves nothing in the folder.
TEST(ExplorerMovie, TheRangeIsWrittenAndACancelLeavesNothing) {
  const LoadResult loaded = load_problem(swaying_folder());
  ASSERT_TRUE(loaded.status.is_ok()) << loaded.status.message();
  const std::string out = scratch_path("explorer-movie");
  std::filesystem::remove_all(out);
  std::filesystem::create_directories(out);
  FrameRequest view;
  view.width = 161;  // an .mp4 is rounded down to even sizes
  view.height = 120;
  view.settings = range(0, 10, 2);

  struct Row {
    std::string file;
    bool cancel;
    bool written;
  } rows[] = {{out + "/sway.mp4", false, true},
              {out + "/stopped.mp4", true, false},
              {out + "/no-such-folder/sway.mp4", false, false}};
  for (const Row& r : rows) {
    MovieExport movie(loaded.problem, view, r.file, 5);
    QString error;
    bool cancelled = false;
    QObject::connect(
        &movie, &MovieExport::done, &movie,
        [&](const QString& e, bool c) {
          error = e;
          cancelled = c;
        },
        Qt::DirectConnection);
    if (r.cancel) movie.cancel();
    movie.start();
    movie.join();
    EXPECT_EQ(cancelled, r.cancel) << r.file;
    EXPECT_EQ(error.isEmpty(), r.written || r.cancel) << r.file << ": " << error.toStdString();
    EXPECT_EQ(std::filesystem::exists(r.file), r.written) << r.file;
  }
  // Only the written movie is there, no temporary file beside it.
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(out)) files += entry.is_regular_file();
  EXPECT_EQ(files, 1);
  const std::string probe = std::string(FFPROBE) +
                            " -v error -count_frames -select_streams v:0 -show_entries "
                            "stream=nb_read_frames,width,height -of csv=p=0 " + out + "/sway.mp4";
  FILE* pipe = popen(probe.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char line[128] = {};
  const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
  pclose(pipe);
  ASSERT_TRUE(read);
  EXPECT_EQ(std::string(line), "160,120,6\n");  // steps 0, 2, ..., 10
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  testing::InitGoogleTest(&argc, argv);
  QGuiApplication app(argc, argv);
  return RUN_ALL_TESTS();
}

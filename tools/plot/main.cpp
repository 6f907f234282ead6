// veltra-plot: draws the displacement of one node of a result folder against
// time into a PNG or SVG file, with Qt, without a display.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/memory_budget.h"
#include "base/shown_text.h"
#include "command_line.h"
#include "exit_status.h"
#include "history_plot.h"
#include "integer_text.h"
#include "interrupt.h"
#include "progress.h"
#include "result_folder.h"
#include "result_scan.h"
#include "whole_file.h"

namespace {

constexpr char kProgram[] = "veltra-plot";
// The picture's sides: room for the axes and the legend, and what a picture
// of Qt's takes.
constexpr std::int64_t kSmallestSide = 100;
constexpr std::int64_t kLargestSide = 16000;
// A PNG picture takes its pixels and the encoded file, at most as large.
constexpr std::int64_t kBytesPerPixel = 8;

// Qt's notes about the offscreen platform say nothing to the user of a
// command-line tool; critical messages still show.
void quiet_qt_messages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
}

// What the command line asks for.
struct PlotOptions {
  std::vector<std::string> folders;  // exactly one, the result folder
  std::string node_text, direction_text, out, size_text = "1000x600";
  int node = 0;
  int direction = 0;  // 0: every direction
  int width = 0, height = 0;
  bool svg = false;
};

// The values of the options, checked before any file is read.
Status check(CLI::App& app, PlotOptions* o) {
  auto wrong = [](const std::string& text) { return Status::invalid_argument(text); };
  if (o->folders.empty()) return wrong("no result folder given");
  if (o->folders.size() > 1) return wrong("more than one result folder: " + o->folders[1]);
  if (app.count("--node") == 0) return wrong("--node N is needed");
  if (o->out.empty()) return wrong("--out FILE is needed");
  std::int64_t value = 0;
  if (!read_integer(o->node_text, 1, INT32_MAX, &value))
    return wrong("--node: a node number from 1 was expected, found \"" + o->node_text + "\"");
  o->node = static_cast<int>(value);
  if (app.count("--direction") > 0) {
    if (!read_integer(o->direction_text, 1, 3, &value))
      return wrong("--direction: 1, 2 or 3 was expected, found \"" + o->direction_text + "\"");
    o->direction = static_cast<int>(value);
  }
  std::int64_t width = 0, height = 0;
  if (!read_size_form(o->size_text, &width, &height))
    return wrong("--size: WIDTHxHEIGHT was expected, found \"" + shown_text(o->size_text) + "\"");
  if (std::min(width, height) < kSmallestSide || std::max(width, height) > kLargestSide)
    return wrong("--size " + o->size_text + ": each side must be " + std::to_string(kSmallestSide) + " to " +
                 std::to_string(kLargestSide) + " pixels");
  o->width = static_cast<int>(width);
  o->height = static_cast<int>(height);
  std::string suffix = std::filesystem::path(o->out).extension().string();
  for (char& c : suffix) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (suffix != ".png" && suffix != ".svg")
    return wrong(o->out + ": unknown picture format; the file name must end in .png or .svg");
  o->svg = suffix == ".svg";
  return Status::ok();
}

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(quiet_qt_messages);
  CommandLine command_line(kProgram,
                           "Draws the displacement u of node N of the TARVEK result folder DIR against the time "
                           "t, one curve per direction (or only direction K), with axes, ticks, the problem title "
                           "and a legend, into a PNG or SVG file. Needs no display.",
                           "a result folder that is missing or damaged, or a picture that cannot be written");
  CLI::App& app = command_line.app();
  PlotOptions o;
  app.add_option("DIR", o.folders, "The result folder (comdin.dat, x.unf, nei.unf, u01.unf, el.unf).");
  app.add_option("--node", o.node_text, "The node whose displacement is drawn (1 to the node count).")
      ->option_text("N")
      ->take_last();
  app.add_option("--direction", o.direction_text, "Draw only direction K (1 to NGL); all directions without it.")
      ->option_text("K")
      ->take_last();
  app.add_option("--out", o.out, "The picture to write: FILE.png or FILE.svg.")->option_text("FILE")->take_last();
  app.add_option("--size", o.size_text, "Size of the picture in pixels (default 1000x600).")
      ->option_text("WxH")
      ->take_last();
  command_line.set_footer(
      "",
      "  veltra-plot work/cantilever --node 5 --out tip.png\n"
      "  veltra-plot work/portal --node 12 --direction 1 --out sway.svg --size 800x500");
  command_line.set_check([&] { return check(app, &o); });
  if (std::optional<int> exit = command_line.parse(argc, argv)) return *exit;

  LoadResult loaded = load_result_folder(o.folders[0]);
  for (const std::string& line : loaded.warnings) report_note(kProgram, line);
  if (!loaded.status.is_ok()) return report_failure(kProgram, loaded.status);
  const Problem& problem = *loaded.problem;
  const int node = o.node, direction = o.direction, width = o.width, height = o.height;
  const std::string& out = o.out;
  if (Status status = check_stored_steps(problem, "plot"); !status.is_ok()) return report_failure(kProgram, status);
  if (direction > problem.control.NGL)
    return report_failure(kProgram, Status::invalid_argument("--direction " + std::to_string(direction) +
                                                             ": the problem has directions 1 to " +
                                                             std::to_string(problem.control.NGL)));

  if (!o.svg) {
    if (Status status = check_memory("--size " + o.size_text, std::int64_t{width} * height * kBytesPerPixel);
        !status.is_ok())
      return report_failure(kProgram, status);
  }

  // The pass over u01.unf may be long: its progress on a terminal, and a
  // Ctrl-C ends it cleanly.
  catch_interrupts();
  NodeHistory history;
  {
    Progress progress(std::int64_t{problem.control.step_count} + 1, "steps of u01.unf", false, false);
    Status status = read_node_history(problem, node, &history, [&progress](std::int64_t done, std::int64_t) {
      progress.done(done);
      return interrupted() ? interrupted_status() : Status::ok();
    });
    progress.finish();
    if (!status.is_ok()) return report_failure(kProgram, status);
  }
  if (!history.non_finite.empty()) report_note(kProgram, history.non_finite);

  HistoryPlot plot;
  plot.title = QString::fromStdString(problem.control.problem_title);
  plot.subtitle = direction > 0 ? QString("Node %1, direction %2").arg(node).arg(direction)
                                : QString("Node %1").arg(node);
  plot.history = &history;
  for (int j = 1; j <= problem.control.NGL; ++j)
    if (direction == 0 || j == direction) plot.directions.push_back(j);

  // Fonts need the application object; no display is used.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int qt_argc = 1;
  QGuiApplication application(qt_argc, argv);

  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const QRectF area(0, 0, width, height);
  if (!o.svg) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    draw_history_plot(painter, area, plot);
    painter.end();
    if (!image.save(&buffer, "PNG"))
      return report_failure(kProgram, Status::io_error(out + ": the picture cannot be encoded"));
  } else {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(width, height));
    svg.setViewBox(area);
    svg.setTitle(plot.title + " - " + plot.subtitle);
    svg.setDescription("Displacement u against time t, drawn by veltra-plot");
    QPainter painter(&svg);
    draw_history_plot(painter, area, plot);
    painter.end();
  }
  if (interrupted()) return report_failure(kProgram, interrupted_status());
  return report_failure(kProgram, write_whole_file(out, std::string_view(bytes.constData(), bytes.size())));
}

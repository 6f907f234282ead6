// veltra-plot: draws the displacement of one node of a result folder against
// time into a PNG or SVG file, with Qt, without a display.
#include <QBuffer>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QSvgGenerator>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "history_plot.h"
#include "input/file_lookup.h"
#include "input/load_problem.h"
#include "input/required_files.h"
#include "result_scan.h"

namespace {

constexpr int kExitError = 2;

int fail(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  return kExitError;
}

int usage_error(const std::string& message) {
  return fail("veltra-plot: " + message + " (see veltra-plot --help)");
}

// Writes `bytes` to a temporary name beside `path` and renames it, so that
// the file is whole or absent.
Status write_whole_file(const std::string& path, const QByteArray& bytes) {
  const std::filesystem::path p(path);
  const std::string temp = (p.parent_path() / ("." + p.filename().string() + ".part-" + std::to_string(getpid()))).string();
  {
    std::ofstream out(temp, std::ios::binary);
    if (out) out.write(bytes.constData(), bytes.size());
    if (out) out.flush();
    if (!out) {
      std::error_code ec;
      std::filesystem::remove(temp, ec);
      return Status::io_error(path + ": cannot be written");
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    return Status::io_error(path + ": cannot be written: " + ec.message());
  }
  return Status::ok();
}

bool read_int(const QString& text, int low, int high, int* value) {
  bool ok = false;
  *value = text.toInt(&ok);
  return ok && *value >= low && *value <= high;
}

// Qt's notes about the offscreen platform say nothing to the user of a
// command-line tool; critical messages still show.
void quiet_qt_messages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(quiet_qt_messages);
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Draws the displacement u of node N of the TARVEK result folder DIR against\n"
      "the time t, one curve per direction (or only direction K), with axes,\n"
      "ticks, the problem title and a legend, into a PNG or SVG file. Needs no\n"
      "display.");
  parser.addPositionalArgument("DIR", "The result folder (comdin.dat, x.unf, nei.unf, u01.unf, el.unf).");
  parser.addOption({{"h", "help"}, "Show this help and exit."});
  parser.addOption({"version", "Show the version and exit."});
  parser.addOption({"node", "The node whose displacement is drawn (1 to the node count).", "N"});
  parser.addOption({"direction", "Draw only direction K (1 to NGL); all directions without it.", "K"});
  parser.addOption({"out", "The picture to write: FILE.png or FILE.svg.", "FILE"});
  parser.addOption({"size", "Size of the picture in pixels (default 1000x600).", "WxH", "1000x600"});

  QStringList args;
  for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  args[0] = "veltra-plot";
  if (!parser.parse(args)) return usage_error(parser.errorText().toStdString());
  if (parser.isSet("help")) {
    std::string text = parser.helpText().toStdString();
    const std::size_t options = text.find(" [options]");
    if (options != std::string::npos && options < text.find('\n')) text.replace(0, options, "Usage: veltra-plot");
    text +=
        "\nExamples:\n"
        "  veltra-plot work/cantilever --node 5 --out tip.png\n"
        "  veltra-plot work/portal --node 12 --direction 1 --out sway.svg --size 800x500\n"
        "\nExit status: 0 when the picture was written, 2 on a usage error, a folder\n"
        "that cannot be read or a file that cannot be written.\n";
    std::fputs(text.c_str(), stdout);
    return 0;
  }
  if (parser.isSet("version")) {
    std::fputs("veltra-plot " VELTRA_VERSION "\n", stdout);
    return 0;
  }
  const QStringList positional = parser.positionalArguments();
  if (positional.isEmpty()) return usage_error("no result folder given");
  if (positional.size() > 1) return usage_error("more than one result folder: " + positional[1].toStdString());
  if (!parser.isSet("node")) return usage_error("--node N is needed");
  if (!parser.isSet("out")) return usage_error("--out FILE is needed");
  int node = 0, direction = 0, width = 0, height = 0;
  if (!read_int(parser.value("node"), 1, INT32_MAX, &node))
    return usage_error("--node: a node number from 1 was expected, found \"" + parser.value("node").toStdString() + "\"");
  if (parser.isSet("direction") && !read_int(parser.value("direction"), 1, 3, &direction))
    return usage_error("--direction: 1, 2 or 3 was expected, found \"" + parser.value("direction").toStdString() + "\"");
  const QStringList size = parser.value("size").split('x');
  if (size.size() != 2 || !read_int(size[0], 100, 16000, &width) || !read_int(size[1], 100, 16000, &height))
    return usage_error("--size: WIDTHxHEIGHT from 100x100 was expected, found \"" + parser.value("size").toStdString() + "\"");
  const std::string out = parser.value("out").toStdString();
  const QString suffix = QFileInfo(parser.value("out")).suffix().toLower();
  if (suffix != "png" && suffix != "svg") return fail(out + ": unknown picture format; the file name must end in .png or .svg");

  std::error_code error;
  std::string folder = std::filesystem::absolute(positional[0].toStdString(), error).lexically_normal().string();
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  RequiredFiles check = check_required_files(join_path(folder, "comdin.dat"));
  if (!check.all_present) {
    std::string message = folder + ": missing needed files:";
    for (const std::string& name : check.missing) message += " " + name;
    return fail(message);
  }
  LoadResult loaded = load_problem(check.working_directory);
  if (!loaded.status.is_ok()) return fail(loaded.status.message());
  const Problem& problem = *loaded.problem;
  if (direction > problem.control.NGL)
    return usage_error("--direction " + std::to_string(direction) + ": the problem has directions 1 to " +
                       std::to_string(problem.control.NGL));
  NodeHistory history;
  if (Status status = read_node_history(problem, node, &history); !status.is_ok()) return fail(status.message());

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
  QGuiApplication app(qt_argc, argv);

  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const QRectF area(0, 0, width, height);
  if (suffix == "png") {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    draw_history_plot(painter, area, plot);
    painter.end();
    if (!image.save(&buffer, "PNG")) return fail(out + ": the picture cannot be encoded");
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
  if (Status status = write_whole_file(out, bytes); !status.is_ok()) return fail(status.message());
  return 0;
}

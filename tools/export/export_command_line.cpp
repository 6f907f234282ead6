#include "export_command_line.h"

#include <QCommandLineParser>
#include <QStringList>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <map>

namespace {

struct FieldHelp {
  const char* name;
  const char* value_name;  // nullptr for a switch
  const char* text;
};

// Every settings option, in the order --help lists them.
constexpr FieldHelp kFieldHelp[] = {
    {"start-step", "N", "First step drawn (default 0)."},
    {"end-step", "N", "Last step drawn (default and limit: the last stored step)."},
    {"step-frequency", "N", "Draw every Nth step (default: about 20 frames over the steps)."},
    {"time-output-item", "N", "Node whose displacement the time label shows."},
    {"frame-delay-ms", "MS", "Pause after each frame, in milliseconds (default 0)."},
    {"displacement-factor", "X|auto", "Magnification of the displacements (default auto)."},
    {"min-size-factor", "X|auto", "Minimum-size factor of the drawing (default auto)."},
    {"colour-scheme", "NAME", "standard or all-black (default standard)."},
    {"language", "NAME", "Language of the graph heading: english or romanian (default english)."},
    {"reverse-vertical", nullptr, "Draw the vertical axis reversed."},
    {"reverse-y", nullptr, "Draw the y axis reversed."},
    {"show-node-indices", nullptr, "Write the node numbers."},
    {"show-element-indices", nullptr, "Write the element numbers."},
    {"show-grid-and-scale", nullptr, "Draw the grid and the scale."},
    {"show-time-output", nullptr, "Write the time label."},
    {"show-all-positions", nullptr, "Keep every drawn position on the picture."},
};

QString q(const std::string& text) { return QString::fromStdString(text); }

bool read_int(const std::string& text, long long low, long long high, long long* value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, *value);
  return !text.empty() && ec == std::errc() && ptr == end && *value >= low && *value <= high;
}

std::string help_text(const QCommandLineParser& parser) {
  // The parser names the program by the running application, which does not
  // exist yet when the command line is read.
  std::string text = parser.helpText().toStdString();
  const std::size_t line_end = text.find('\n');
  const std::size_t options = text.find(" [options]");
  if (options != std::string::npos && options < line_end) text.replace(0, options, "Usage: veltra-export");
  text +=
      "\nThe switches also come as --no-NAME, which turns the setting off; when a\n"
      "setting is given more than once, the last one counts.\n"
      "\nExamples:\n"
      "  veltra-export work/portal --out frames\n"
      "  veltra-export work/portal --movie portal.mp4 --fps 20 --size 960x600\n"
      "  veltra-export work/cantilever --movie cantilever.gif --show-grid-and-scale\n"
      "\nExit status: 0 when every frame was written, 2 on a usage error, a\n"
      "folder that cannot be read or a file that cannot be written.\n";
  return text;
}

}  // namespace

std::string movie_format_of(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext == ".mp4" || ext == ".webm" || ext == ".gif" ? ext : std::string();
}

CommandLineResult read_export_command_line(const std::vector<std::string>& args, ExportOptions* options) {
  auto error = [](const std::string& text) { return CommandLineResult{CommandLineAction::error, text}; };

  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Renders the frames of the TARVEK result folder DIR with the viewer's own\n"
      "drawing code, without a display, as PNG files (--out), as one movie\n"
      "(--movie) or both. The graph is drawn as the viewer draws a first graph of\n"
      "the problem, changed by the settings options below.");
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.addPositionalArgument("DIR", "The result folder (comdin.dat, x.unf, nei.unf, u01.unf, el.unf).");
  parser.addOption({{"h", "help"}, "Show this help and exit."});
  parser.addOption({"version", "Show the version and exit."});
  parser.addOption({"out", "Write the frames as FOLDER/frame-0000.png, frame-0001.png, ... (FOLDER is made).",
                    "FOLDER"});
  parser.addOption({"movie",
                    "Write the frames as one movie, chosen by the extension: .mp4 (H.264), .webm (VP9) or "
                    ".gif (a palette made for each picture). The file appears only when it is complete. "
                    "Sizes of an .mp4 are rounded down to even numbers.",
                    "FILE"});
  parser.addOption({"fps", "Frames a second of the movie (1 to 120, default 10).", "N", "10"});
  parser.addOption({"size", "Drawing area in pixels (default 1280x800).", "WxH", "1280x800"});
  parser.addOption({"frame", "Render only frame J (from 0) of the animation.", "J"});
  parser.addOption({"quiet", "No progress on stderr."});
  QCommandLineOption platform("platform", "Window-system platform (default offscreen).", "NAME");
  platform.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(platform);
  for (const FieldHelp& f : kFieldHelp) {
    if (f.value_name != nullptr) {
      parser.addOption({f.name, f.text, f.value_name});
    } else {
      parser.addOption({f.name, f.text});
      QCommandLineOption off(q(std::string("no-") + f.name), "Turn the setting off.");
      off.setFlags(QCommandLineOption::HiddenFromHelp);
      parser.addOption(off);
    }
  }

  QStringList list{"veltra-export"};
  for (const std::string& a : args) list << q(a);
  if (!parser.parse(list)) return error(parser.errorText().toStdString());
  if (parser.isSet("help")) return {CommandLineAction::help, help_text(parser)};
  if (parser.isSet("version")) return {CommandLineAction::version, "veltra-export " VELTRA_VERSION "\n"};

  const QStringList positional = parser.positionalArguments();
  if (positional.isEmpty()) return error("no result folder given");
  if (positional.size() > 1) return error("more than one result folder: " + positional[1].toStdString());
  options->folder = positional[0].toStdString();
  options->out = parser.value("out").toStdString();
  options->movie = parser.value("movie").toStdString();
  options->platform = parser.value("platform").toStdString();
  options->quiet = parser.isSet("quiet");
  if (options->out.empty() && options->movie.empty())
    return error("nothing to write: give --out FOLDER, --movie FILE or both");
  if (!options->movie.empty() && movie_format_of(options->movie).empty())
    return error(options->movie + ": unknown movie format; the file name must end in .mp4, .webm or .gif");

  long long value = 0;
  const std::string fps = parser.value("fps").toStdString();
  if (!read_int(fps, 1, 120, &value)) return error("--fps: a rate from 1 to 120 was expected, found \"" + fps + "\"");
  options->fps = static_cast<int>(value);
  const std::string size = parser.value("size").toStdString();
  const std::size_t x = size.find('x');
  long long w = 0, h = 0;
  if (x == std::string::npos || !read_int(size.substr(0, x), 1, 16000, &w) ||
      !read_int(size.substr(x + 1), 1, 16000, &h))
    return error("--size: WIDTHxHEIGHT was expected, found \"" + size + "\"");
  options->width = static_cast<int>(w);
  options->height = static_cast<int>(h);
  if (parser.isSet("frame")) {
    const std::string frame = parser.value("frame").toStdString();
    if (!read_int(frame, 0, INT64_MAX, &value))
      return error("--frame: a frame number from 0 was expected, found \"" + frame + "\"");
    options->only_frame = value;
  }

  // The settings options in the order given: the parser lists every option
  // found, repeats included, and the values of each name in order.
  const std::vector<std::string> value_fields = export_value_fields();
  std::map<std::string, int> seen;
  options->fields.clear();
  for (const QString& found : parser.optionNames()) {
    const std::string name = found.toStdString();
    if (std::find(value_fields.begin(), value_fields.end(), name) != value_fields.end()) {
      const std::string v = parser.values(found).value(seen[name]++).toStdString();
      if (Status status = check_export_field(name, v); !status.is_ok()) return error(status.message());
      options->fields.emplace_back(name, v);
      continue;
    }
    for (const std::string& sw : export_switch_fields())
      if (name == sw || name == "no-" + sw) options->fields.emplace_back(name, "");
  }
  return {};
}

Status parse_export_options(const std::vector<std::string>& args, ExportOptions* options) {
  CommandLineResult result = read_export_command_line(args, options);
  return result.action == CommandLineAction::run ? Status::ok() : Status::invalid_argument(result.text);
}

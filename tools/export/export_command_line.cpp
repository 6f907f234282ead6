#include "export_command_line.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>

#include "base/shown_text.h"
#include "integer_text.h"

const char* const kExportDescription =
    "Renders the frames of the TARVEK result folder DIR with the viewer's own drawing code, without a display, "
    "as PNG files (--out), as one movie (--movie) or both, and writes the drawn steps as a ParaView collection "
    "(--vtk). The graph is drawn as the viewer draws a first graph of the problem, changed by the settings "
    "options below.";
const char* const kExportFailures =
    "a result folder that is missing or damaged, or a frame, movie or series that cannot be written";

namespace {

// What the parser fills in, read by the check that follows it.
struct Given {
  std::vector<std::string> folders;
  std::string out, movie, vtk, fps = "10", size = "1280x800", frame, platform;
  bool quiet = false;
  std::vector<std::string> unused;  // the values of the settings options are read from the parser
  // The settings option (and whether it was the --no- form of a switch) of
  // each parser option.
  std::map<const CLI::Option*, std::pair<const SettingOption*, bool>> settings;
};

Status read_given(const CLI::App& app, const Given& given, ExportOptions* options) {
  auto wrong = [](const std::string& text) { return Status::invalid_argument(text); };
  if (given.folders.empty()) return wrong("no result folder given");
  if (given.folders.size() > 1) return wrong("more than one result folder: " + given.folders[1]);
  options->folder = given.folders[0];
  options->out = given.out;
  options->movie = given.movie;
  options->vtk = given.vtk;
  options->platform = given.platform;
  options->quiet = given.quiet;
  if (options->out.empty() && options->movie.empty() && options->vtk.empty())
    return wrong("nothing to write: give --out FOLDER, --movie FILE or --vtk FILE.pvd");
  if (!options->movie.empty() && movie_format_of(options->movie).empty())
    return wrong(options->movie + ": unknown movie format; the file name must end in .mp4, .webm or .gif");
  if (!options->vtk.empty() && std::filesystem::path(options->vtk).extension() != ".pvd")
    return wrong("--vtk: a file name ending in .pvd was expected, found \"" + options->vtk + "\"");

  std::int64_t value = 0;
  if (!read_integer(given.fps, 1, 120, &value))
    return wrong("--fps: a rate from 1 to 120 was expected, found \"" + given.fps + "\"");
  options->fps = static_cast<int>(value);
  std::int64_t width = 0, height = 0;
  if (!read_size_form(given.size, &width, &height))
    return wrong("--size: WIDTHxHEIGHT was expected, found \"" + shown_text(given.size) + "\"");
  // A movie's encoders take pictures of 2x2 pixels or more.
  const std::int64_t smallest = options->movie.empty() ? 1 : 2;
  if (std::min(width, height) < smallest || std::max(width, height) > kLargestPictureSide)
    return wrong("--size " + given.size + ": each side must be " + std::to_string(smallest) + " to " +
                 std::to_string(kLargestPictureSide) + " pixels" + (options->movie.empty() ? "" : " for a movie"));
  options->width = static_cast<int>(width);
  options->height = static_cast<int>(height);
  options->only_frame = -1;
  if (app.count("--frame") > 0) {
    if (!read_integer(given.frame, 0, INT64_MAX, &value))
      return wrong("--frame: a frame number from 0 was expected, found \"" + given.frame + "\"");
    options->only_frame = value;
  }

  // The settings options in the order given: the parser lists the option of
  // each occurrence, and each option's values in order.
  std::map<const CLI::Option*, std::size_t> seen;
  options->fields.clear();
  for (const CLI::Option* found : app.parse_order()) {
    const auto setting = given.settings.find(found);
    if (setting == given.settings.end()) continue;
    const auto [option, negated] = setting->second;
    if (option->value_name == nullptr) {
      options->fields.emplace_back(option->name, negated ? "off" : "on");
      continue;
    }
    const std::string v = found->results().at(seen[found]++);
    if (Status status = check_setting_value(*option, v); !status.is_ok()) return status;
    options->fields.emplace_back(option->name, v);
  }
  // What only the options together can tell (the colour options), before
  // any file is read.
  ExportSettings probe;
  return export_settings(*options, INT32_MAX, &probe);
}

}  // namespace

std::string movie_format_of(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext == ".mp4" || ext == ".webm" || ext == ".gif" ? ext : std::string();
}

void add_export_options(CommandLine* command_line, ExportOptions* options) {
  CLI::App& app = command_line->app();
  auto given = std::make_shared<Given>();
  app.add_option("DIR", given->folders, "The result folder (comdin.dat, x.unf, nei.unf, u01.unf, el.unf).");
  app.add_option("--out", given->out, "Write the frames as FOLDER/frame-0000.png, frame-0001.png, ... (FOLDER is made). The frames "
                 "of an earlier export there are removed first; a folder that holds other files is refused.")
      ->option_text("FOLDER")
      ->take_last();
  app.add_option("--movie", given->movie,
                 "Write the frames as one movie, chosen by the extension: .mp4 (H.264), .webm (VP9) or .gif (a "
                 "palette made for each picture). The file appears only when it is complete. Sizes of an .mp4 "
                 "are rounded down to even numbers.")
      ->option_text("FILE")
      ->take_last();
  app.add_option("--vtk", given->vtk,
                 "Write the drawn steps as a ParaView collection: FILE.pvd and one .vtu a step beside it (the "
                 "nodes, one line cell an element, the point data Displacement and the cell data ElementValue "
                 "and ElementCode). The files appear only when the whole series is written.")
      ->option_text("FILE.pvd")
      ->take_last();
  app.add_option("--fps", given->fps, "Frames a second of the movie (1 to 120, default 10).")
      ->option_text("N")
      ->take_last();
  app.add_option("--size", given->size, "Drawing area in pixels (default 1280x800).")->option_text("WxH")->take_last();
  app.add_option("--frame", given->frame, "Render only frame J (from 0) of the animation.")
      ->option_text("J")
      ->take_last();
  app.add_flag("--quiet", given->quiet, "No progress on stderr.");
  app.add_option("--platform", given->platform, "Window-system platform (default offscreen).")
      ->option_text("NAME")
      ->take_last()
      ->group("");
  const std::string off_help = "Turn the setting off.";
  for (const SettingOption& setting : setting_options()) {
    const std::string name = std::string("--") + setting.name;
    if (setting.value_name != nullptr) {
      CLI::Option* option = app.add_option(name, given->unused, setting.help)
                                ->option_text(setting.value_name)
                                ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
      given->settings[option] = {&setting, false};
    } else {
      const std::string help = setting.help;
      given->settings[app.add_flag(name, help)] = {&setting, false};
      given->settings[app.add_flag("--no-" + std::string(setting.name), off_help)->group("")] = {
          &setting, true};
    }
  }
  command_line->accept_single_dash_long_options();
  command_line->set_footer(
      "The switches also come as --no-NAME, which turns the setting off; when a\n"
      "setting is given more than once, the last one counts.",
      "  veltra-export work/portal --out frames\n"
      "  veltra-export work/portal --movie portal.mp4 --fps 20 --size 960x600\n"
      "  veltra-export work/cantilever --movie cantilever.gif --show-grid-and-scale\n"
      "  veltra-export work/space --movie space.mp4 --colour-by displacement\n"
      "  veltra-export work/portal --vtk portal/series.pvd");
  command_line->set_check([&app, given, options] { return read_given(app, *given, options); });
}

Status parse_export_options(const std::vector<std::string>& args, ExportOptions* options) {
  CommandLine command_line("veltra-export", kExportDescription, kExportFailures);
  add_export_options(&command_line, options);
  const CommandLine::Reading reading = command_line.read(args);
  return reading.outcome == CommandLine::Outcome::run ? Status::ok() : Status::invalid_argument(reading.text);
}

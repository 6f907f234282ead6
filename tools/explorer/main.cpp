// veltra-explorer [DIR]: examine a result folder's response in a window of
// its own: play and scrub it, zoom, pan and orbit, pick nodes and elements,
// save pictures and movies.
#include <QApplication>
#include <QIcon>
#include <cstdlib>
#include <string>

#include "command_line.h"
#include "exit_status.h"
#include "explorer_window.h"

int main(int argc, char** argv) {
  CommandLine command_line(
      "veltra-explorer",
      "Opens the TARVEK result folder DIR (or the folder of a file in it) in a window: the structure drawn as "
      "the VELTRA viewer draws it, a time slider that scrubs, playback, zoom with the wheel, pan by dragging, "
      "an orbit of spatial models, and a click on a node or an element for its state and history. Without DIR "
      "the window opens empty; File, Open or a folder dropped on it opens one.",
      "a window system that cannot be reached");
  std::string path;
  command_line.app().add_option("DIR", path,
                                "A result folder, or any file in one (a file manager passes its files). Of "
                                "several, the first is opened.");
  // A file manager's "Open With" passes every file chosen.
  command_line.app().allow_extras();
  command_line.set_footer(
      "Keys: Space plays and pauses, Left and Right step, Home and End go to the\n"
      "first and the last frame, F fits the structure to the window. The window\n"
      "keeps its recent folders and its layout in\n"
      "~/.config/VELTRA/veltra-explorer.conf; the viewer writes nothing.",
      "  veltra-explorer /usr/share/veltra/samples/portal\n"
      "  veltra-explorer work/space/u01.unf");
  command_line.set_check([&] {
    for (const std::string& extra : command_line.app().remaining())
      if (!extra.empty() && extra[0] == '-')
        return Status::invalid_argument("The following argument was not expected: " + extra);
    return Status::ok();
  });
  if (std::optional<int> exit = command_line.parse(argc, argv)) return *exit;
  // Without a window system Qt would abort; say so and end as a failure.
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
      std::getenv("QT_QPA_PLATFORM") == nullptr)
    return report_failure("veltra-explorer",
                          Status::io_error("no window system: neither DISPLAY nor WAYLAND_DISPLAY is set"));

  // Qt reads no options of its own here: the platform comes from the
  // environment (QT_QPA_PLATFORM), as for any program.
  int qt_argc = 1;
  QApplication app(qt_argc, argv);
  QApplication::setOrganizationName("VELTRA");
  QApplication::setApplicationName("veltra-explorer");
  QApplication::setApplicationDisplayName("VELTRA Explorer");
  QApplication::setApplicationVersion(VELTRA_VERSION);
  // The task bar links the window to the menu entry of this name.
  QGuiApplication::setDesktopFileName("org.veltra.Explorer");
  QApplication::setWindowIcon(QIcon::fromTheme("org.veltra.Explorer", QIcon(":/org.veltra.Explorer.svg")));

  ExplorerWindow window;
  window.show();
  if (!path.empty()) window.open_path(QString::fromStdString(path));
  return app.exec();
}

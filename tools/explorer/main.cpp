// veltra-explorer [DIR]: examine a result folder's response in a window of
// its own: play and scrub it, zoom, pan and orbit, pick nodes and elements,
// save pictures and movies.
#include <QApplication>
#include <QIcon>
#include <QStringList>
#include <cstdio>
#include <string>

#include "explorer_window.h"

int main(int argc, char** argv) {
  std::string folder;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::printf("Usage: veltra-explorer [DIR]\n");
      return 0;
    }
    if (arg == "--version") {
      std::printf("veltra-explorer %s\n", VELTRA_VERSION);
      return 0;
    }
    if (folder.empty()) folder = arg;
  }

  QApplication app(argc, argv);
  QApplication::setOrganizationName("VELTRA");
  QApplication::setApplicationName("veltra-explorer");
  QApplication::setApplicationDisplayName("VELTRA Explorer");
  QApplication::setApplicationVersion(VELTRA_VERSION);
  // The task bar links the window to the menu entry of this name.
  QGuiApplication::setDesktopFileName("org.veltra.Explorer");
  QApplication::setWindowIcon(QIcon::fromTheme("org.veltra.Explorer", QIcon(":/org.veltra.Explorer.svg")));

  ExplorerWindow window;
  window.show();
  if (!folder.empty()) window.open_path(QString::fromStdString(folder));
  return app.exec();
}

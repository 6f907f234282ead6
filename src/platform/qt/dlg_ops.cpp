// The dialog operations the layer supplies: running a template dialog,
// showing the program's changes in it, and the file and colour choosers.
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

#include "platform/dialog_native.h"
#include "platform/dlg.h"
#include "platform/qt/dialog_builder.h"
#include "platform/qt/frame_window.h"
#include "platform/qt/gui_thread.h"
#include "platform/qt/qt_colour.h"
#include "platform/qt/qt_text.h"

using namespace qtl;

namespace {

// A file-name pattern list as the chooser matches it: "*.*" is every file,
// and patterns are separated by blanks instead of semicolons.
QString chooser_patterns(const std::string& pattern) {
  QStringList out;
  for (QString p : QString::fromStdString(pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    p = p.trimmed();
    out << (p == QStringLiteral("*.*") ? QStringLiteral("*") : p);
  }
  return out.isEmpty() ? QStringLiteral("*") : out.join(QLatin1Char(' '));
}

// A folder or name from a fixed-length field: up to its zero byte, without
// trailing blanks.
QString field_text(const std::string& s) {
  QString text = system_text(s);
  while (!text.isEmpty() && text.back() == QLatin1Char(' ')) text.chop(1);
  return text;
}

// The file chooser. A name that must exist is also taken in another letter
// case, as the program finds every file of a result folder: the preset
// "comdin.dat" chooses a folder's COMDIN.DAT.
class FileChooser : public QFileDialog {
 public:
  FileChooser(const QString& caption, bool path_must_exist)
      : QFileDialog(nullptr, caption), path_must_exist_(path_must_exist) {}

  // The chosen files: the entry found in another letter case, or what the
  // chooser itself selected.
  QStringList chosen_files() const { return resolved_.isEmpty() ? selectedFiles() : QStringList{resolved_}; }

  void accept() override {
    const QStringList files = selectedFiles();
    if (path_must_exist_ && files.size() == 1) {
      const QFileInfo typed(files.first());
      if (!typed.exists()) {
        // The first entry in byte order that matches ignoring case.
        const QDir folder = typed.dir();
        QStringList entries = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
        entries.sort(Qt::CaseSensitive);
        for (const QString& entry : entries) {
          if (entry.compare(typed.fileName(), Qt::CaseInsensitive) == 0) {
            resolved_ = folder.filePath(entry);
            QDialog::accept();  // the chooser's own check would refuse the name as typed
            return;
          }
        }
      }
    }
    QFileDialog::accept();
  }

 private:
  bool path_must_exist_;
  QString resolved_;
};

}  // namespace

namespace qtl {

void keep_settings_off_disk() {
  // A folder cannot be made inside a device file, so every read there finds
  // nothing and every write fails, whoever runs the program.
  static bool done = false;
  if (done) return;
  done = true;
  for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
    QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
}

}  // namespace qtl

int dlg_run_modal(Dialog& dialog) {
  if (dialog.tmpl == nullptr || dialog.native != nullptr) return -1;
  // Run from a callback of a running dialog: owned by that dialog. Otherwise
  // owned by the frame window, whose menu then takes no input. Every dialog
  // owned by the frame is window-modal to it, so each one opened holds those
  // opened before it: when several runs are in their settings dialogs at
  // once, only the newest takes input until it closes. Letting all of them
  // take input would need another ownership of these dialogs.
  TemplateDialog* outer = on_gui_thread() ? dialog_in_callback() : nullptr;
  dialog.closed_by = 0;
  return run_dialog(
      [&]() -> QDialog* {
        QWidget* owner = outer != nullptr ? static_cast<QWidget*>(outer) : frame_window();
        auto* d = new TemplateDialog(dialog, owner);
        d->setWindowModality(owner != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
        dialog.native = static_cast<QDialog*>(d);
        return d;
      },
      [&](QDialog* d, int) {
        dialog.native = nullptr;
        const int closed_by = static_cast<TemplateDialog*>(d)->closed_by();
        return closed_by != 0 ? closed_by : 2;
      });
}

void dlg_native_sync(Dialog& dialog, const DialogControl& control) {
  run_on_gui([&] {
    if (dialog.native == nullptr) return;
    if (auto* d = qobject_cast<TemplateDialog*>(static_cast<QDialog*>(dialog.native)))
      d->show_values(control);
  });
}

void* dlg_owner_window(const Dialog& dialog) { return dialog.native; }

bool dlg_choose_colour(void* owner, Rgb initial, std::array<Rgb, 16>* custom_cells, Rgb* chosen) {
  std::array<Rgb, 16> cells{};
  if (custom_cells != nullptr) cells = *custom_cells;
  QColor picked;
  const bool from_gui = on_gui_thread();
  const int result = run_dialog(
      [&]() -> QDialog* {
        keep_settings_off_disk();
        for (int i = 0; i < 16; ++i)
          QColorDialog::setCustomColor(i, to_qcolor(cells[static_cast<std::size_t>(i)]));
        QWidget* parent = owner != nullptr ? static_cast<QWidget*>(static_cast<QDialog*>(owner))
                                           : static_cast<QWidget*>(frame_window());
        auto* d = new QColorDialog(to_qcolor(initial), parent);
        d->setOption(QColorDialog::DontUseNativeDialog);
        d->setWindowModality(parent != nullptr ? Qt::WindowModal
                             : from_gui        ? Qt::ApplicationModal
                                               : Qt::NonModal);
        return d;
      },
      [&](QDialog* d, int r) {
        for (int i = 0; i < 16; ++i)
          cells[static_cast<std::size_t>(i)] = to_rgb(QColorDialog::customColor(i));
        picked = static_cast<QColorDialog*>(d)->currentColor();
        return r;
      });
  if (custom_cells != nullptr && result >= 0) *custom_cells = cells;
  if (result != QDialog::Accepted) return false;
  if (chosen != nullptr) *chosen = to_rgb(picked);
  return true;
}

bool dlg_choose_file(const FileChooserRequest& request, std::string* chosen_path) {
  QString chosen;
  const bool from_gui = on_gui_thread();
  const int result = run_dialog(
      [&]() -> QDialog* {
        keep_settings_off_disk();
        auto* d = new FileChooser(QString::fromStdString(request.title), request.path_must_exist);
        d->setOption(QFileDialog::DontUseNativeDialog);
        d->setOption(QFileDialog::HideNameFilterDetails);
        d->setFileMode(request.path_must_exist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        d->setAcceptMode(QFileDialog::AcceptOpen);
        QStringList filters;
        for (const FileFilter& f : request.filters)
          filters << QStringLiteral("%1 (%2)").arg(QString::fromStdString(f.description),
                                                  chooser_patterns(f.pattern));
        if (!filters.isEmpty()) {
          d->setNameFilters(filters);
          const int index = std::clamp(request.filter_index, 1, static_cast<int>(filters.size()));
          d->selectNameFilter(filters[index - 1]);
        }
        const QString folder = field_text(request.initial_directory);
        if (!folder.isEmpty() && QFileInfo(folder).isDir()) d->setDirectory(folder);
        const QString preset = field_text(request.preset_name);
        if (!preset.isEmpty()) d->selectFile(preset);
        if (!request.default_extension.empty())
          d->setDefaultSuffix(QString::fromStdString(request.default_extension));
        // No owner: shown from another thread it leaves the frame usable.
        d->setWindowModality(from_gui ? Qt::ApplicationModal : Qt::NonModal);
        keep_above_frame(d);
        return d;
      },
      [&](QDialog* d, int r) {
        const QStringList files = static_cast<FileChooser*>(d)->chosen_files();
        if (r == QDialog::Accepted && !files.isEmpty()) chosen = files.first();
        return r;
      });
  if (result != QDialog::Accepted || chosen.isEmpty()) return false;
  const QFileInfo info(chosen);
  if (chosen_path != nullptr) *chosen_path = info.absoluteFilePath().toStdString();
  return true;
}

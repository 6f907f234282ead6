#include "platform/qt/dialog_builder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/raster.h"
#include "platform/qt/font_list.h"

namespace qtl {

namespace {

std::vector<TemplateDialog*> callback_stack;

QString text_of(const std::string& s) { return QString::fromStdString(s); }

// A static text's "&" marks an access key only when a control follows it;
// otherwise the marks are dropped ("&&" stays a literal "&").
QString without_access_keys(const QString& text) {
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&')) {
      if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) out += QLatin1Char('&'), ++i;
      continue;
    }
    out += text[i];
  }
  return out;
}

bool takes_focus(ControlKind kind) {
  return kind != ControlKind::static_text && kind != ControlKind::group_box &&
         kind != ControlKind::picture;
}

QPixmap picture_of(const Bitmap& bitmap) {
  if (bitmap.width <= 0 || bitmap.height <= 0) return {};
  QImage image(bitmap.width, bitmap.height, QImage::Format_RGB32);
  const std::size_t needed = static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height);
  for (int y = 0; y < bitmap.height; ++y) {
    for (int x = 0; x < bitmap.width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.width) + static_cast<std::size_t>(x);
      const std::uint8_t index = i < bitmap.indices.size() && i < needed ? bitmap.indices[i] & 0x0F : 0;
      const Rgb rgb = bitmap.palette[index];
      image.setPixel(x, y, to_argb(rgb));
    }
  }
  return QPixmap::fromImage(image);
}

void show_items(QListWidget* list, const std::vector<std::string>& items) {
  bool same = list->count() == static_cast<int>(items.size());
  for (int i = 0; same && i < list->count(); ++i)
    same = list->item(i)->text() == text_of(items[static_cast<std::size_t>(i)]);
  if (same) return;
  list->clear();
  for (const std::string& item : items) list->addItem(text_of(item));
}

void show_items(QComboBox* combo, const std::vector<std::string>& items) {
  bool same = combo->count() == static_cast<int>(items.size());
  for (int i = 0; same && i < combo->count(); ++i)
    same = combo->itemText(i) == text_of(items[static_cast<std::size_t>(i)]);
  if (same) return;
  combo->clear();
  for (const std::string& item : items) combo->addItem(text_of(item));
}

void show_selection(QListWidget* list, int selection) {
  if (selection >= 1 && selection <= list->count()) {
    list->setCurrentRow(selection - 1);
  } else {
    list->clearSelection();
    list->setCurrentRow(-1);
  }
}

}  // namespace

TemplateDialog* dialog_in_callback() {
  return callback_stack.empty() ? nullptr : callback_stack.back();
}

TemplateDialog::TemplateDialog(Dialog& record, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint),
      record_(record) {
  build();
}

void TemplateDialog::build() {
  const DialogTemplate& tmpl = *record_.tmpl;
  setWindowTitle(text_of(tmpl.caption));
  setFont(dialog_font(tmpl.font_face, tmpl.font_points));
  const QFontMetrics metrics(font());
  const int alphabet = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  base_width_ = std::max(1, (alphabet / 26 + 1) / 2);
  base_height_ = std::max(1, metrics.height());
  setFixedSize(x_pixels(tmpl.width), y_pixels(tmpl.height));
  // The units stay those of the template's face; the captions are drawn a
  // little smaller, because our sans face runs wider than the one the
  // templates were laid out with and would otherwise cut their last words.
  QFont text_font = font();
  text_font.setPixelSize(10);
  setFont(text_font);

  const std::size_t count = std::min(tmpl.controls.size(), record_.controls.size());
  controls_.resize(count);
  for (std::size_t i = 0; i < count; ++i) make_control(i, tmpl.controls[i]);
  // Access keys of static texts move the focus to the control that follows.
  for (std::size_t i = 0; i < count; ++i) {
    if (controls_[i].label == nullptr || tmpl.controls[i].kind != ControlKind::static_text) continue;
    for (std::size_t j = i + 1; j < count; ++j) {
      if (!takes_focus(tmpl.controls[j].kind)) continue;
      controls_[i].label->setBuddy(controls_[j].edit ? controls_[j].edit : controls_[j].widget);
      break;
    }
  }
  programmatic_ = true;
  for (std::size_t i = 0; i < count; ++i) show_values(record_.controls[i]);
  programmatic_ = false;
  for (std::size_t i = 0; i < count; ++i) connect_user_actions(i);
  for (const Control& c : controls_)
    if (c.group) c.group->lower();
}

void TemplateDialog::make_control(std::size_t index, const ControlTemplate& t) {
  Control& c = controls_[index];
  const QRect area(x_pixels(t.x), y_pixels(t.y), x_pixels(t.width), y_pixels(t.height));
  const QString caption = text_of(t.text);
  switch (t.kind) {
    case ControlKind::check_box: {
      auto* box = new QCheckBox(caption, this);
      c.button = box;
      c.widget = box;
      break;
    }
    case ControlKind::push_check_box: {
      auto* button = new QPushButton(caption, this);
      button->setCheckable(true);
      button->setAutoDefault(false);
      c.button = button;
      c.widget = button;
      break;
    }
    case ControlKind::push_button: {
      auto* button = new QPushButton(caption, this);
      button->setDefault((t.style & kStyleDefault) != 0);
      button->setFlat((t.style & kStyleFlat) != 0);
      c.button = button;
      c.widget = button;
      break;
    }
    case ControlKind::edit: {
      c.edit = new QLineEdit(this);
      c.edit->setFrame((t.style & kStyleBorder) != 0);
      c.widget = c.edit;
      break;
    }
    case ControlKind::simple_combo: {
      auto* box = new QWidget(this);
      auto* layout = new QVBoxLayout(box);
      layout->setContentsMargins(0, 0, 0, 0);
      layout->setSpacing(0);
      c.edit = new QLineEdit(box);
      c.list = new QListWidget(box);
      c.list->setSelectionMode(QAbstractItemView::SingleSelection);
      layout->addWidget(c.edit);
      layout->addWidget(c.list, 1);
      c.widget = box;
      break;
    }
    case ControlKind::drop_down_list: {
      c.combo = new QComboBox(this);
      c.combo->setEditable(false);
      c.widget = c.combo;
      break;
    }
    case ControlKind::list_box: {
      c.list = new QListWidget(this);
      c.list->setSelectionMode(QAbstractItemView::SingleSelection);
      c.list->setVerticalScrollBarPolicy((t.style & kStyleVScroll) ? Qt::ScrollBarAlwaysOn
                                                                   : Qt::ScrollBarAsNeeded);
      c.widget = c.list;
      break;
    }
    case ControlKind::static_text: {
      c.label = new QLabel(this);
      c.label->setTextFormat(Qt::PlainText);
      c.label->setWordWrap(true);
      c.label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      if (t.style & kStyleSunken) {
        c.label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        c.label->setLineWidth(1);
      }
      c.widget = c.label;
      break;
    }
    case ControlKind::group_box: {
      c.group = new QGroupBox(caption, this);
      c.widget = c.group;
      break;
    }
    case ControlKind::picture: {
      c.label = new QLabel(this);
      if (t.bitmap != nullptr) c.label->setPixmap(picture_of(*t.bitmap));
      c.label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      c.widget = c.label;
      break;
    }
  }
  QRect geometry = area;
  // A drop-down list's template height includes the dropped list.
  if (t.kind == ControlKind::drop_down_list)
    geometry.setHeight(std::min(area.height(), c.combo->sizeHint().height()));
  c.widget->setGeometry(geometry);
  c.widget->setObjectName(QStringLiteral("control_%1").arg(t.id));
  if (t.style & kStyleHidden) c.widget->setVisible(false);
}

void TemplateDialog::connect_user_actions(std::size_t index) {
  Control& c = controls_[index];
  const int id = record_.controls[index].id;
  const ControlKind kind = record_.controls[index].kind;
  switch (kind) {
    case ControlKind::check_box:
    case ControlKind::push_check_box:
      connect(c.button, &QAbstractButton::clicked, this, [this, index, id](bool checked) {
        record_of(index).checked = checked;
        fire(id, kReasonClicked);
      });
      break;
    case ControlKind::push_button:
      connect(c.button, &QAbstractButton::clicked, this, [this, id] {
        fire(id, kReasonClicked);
        if ((id == 1 || id == 2) && !has_callback(id, kReasonClicked)) close_with(id);
      });
      break;
    case ControlKind::edit:
      connect(c.edit, &QLineEdit::textEdited, this, [this, index, id](const QString& text) {
        record_of(index).text = text.toStdString();
        fire(id, kReasonChanged);
      });
      break;
    case ControlKind::simple_combo: {
      connect(c.edit, &QLineEdit::textEdited, this, [this, index, id](const QString& text) {
        record_of(index).text = text.toStdString();
        fire(id, kReasonUpdate);
      });
      QLineEdit* edit = c.edit;
      QListWidget* list = c.list;
      connect(c.list, &QListWidget::currentRowChanged, this, [this, index, id, edit, list](int row) {
        if (programmatic_ || row < 0) return;
        DialogControl& control = record_of(index);
        control.selection = row + 1;
        control.text = list->item(row)->text().toStdString();
        programmatic_ = true;
        edit->setText(list->item(row)->text());
        programmatic_ = false;
        fire(id, kReasonSelChange);
      });
      break;
    }
    case ControlKind::drop_down_list:
      connect(c.combo, &QComboBox::activated, this, [this, index, id](int row) {
        record_of(index).selection = row + 1;
        fire(id, kReasonSelChange);
      });
      break;
    case ControlKind::list_box:
      connect(c.list, &QListWidget::currentRowChanged, this, [this, index, id](int row) {
        if (programmatic_ || row < 0) return;
        record_of(index).selection = row + 1;
        fire(id, kReasonSelChange);
      });
      break;
    default:
      break;
  }
}

void TemplateDialog::show_values(const DialogControl& control) {
  const std::ptrdiff_t index = &control - record_.controls.data();
  if (index < 0 || index >= static_cast<std::ptrdiff_t>(controls_.size())) return;
  Control& c = controls_[static_cast<std::size_t>(index)];
  const bool was = programmatic_;
  programmatic_ = true;
  c.widget->setEnabled(control.enabled);
  const QString text = text_of(control.text);
  switch (control.kind) {
    case ControlKind::check_box:
    case ControlKind::push_check_box:
      if (c.button->text() != text) c.button->setText(text);
      c.button->setChecked(control.checked);
      break;
    case ControlKind::push_button:
      if (c.button->text() != text) c.button->setText(text);
      break;
    case ControlKind::edit:
      if (c.edit->text() != text) c.edit->setText(text);
      break;
    case ControlKind::simple_combo:
      show_items(c.list, control.items);
      show_selection(c.list, control.selection);
      if (c.edit->text() != text) c.edit->setText(text);
      break;
    case ControlKind::drop_down_list:
      show_items(c.combo, control.items);
      c.combo->setCurrentIndex(control.selection >= 1 && control.selection <= c.combo->count()
                                   ? control.selection - 1
                                   : -1);
      break;
    case ControlKind::list_box:
      show_items(c.list, control.items);
      show_selection(c.list, control.selection);
      break;
    case ControlKind::static_text:
      c.label->setText(c.label->buddy() ? text : without_access_keys(text));
      break;
    case ControlKind::group_box:
      c.group->setTitle(text);
      break;
    case ControlKind::picture:
      break;
  }
  programmatic_ = was;
}

QWidget* TemplateDialog::control_widget(int id) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (record_.controls[i].id != id) continue;
    const Control& c = controls_[i];
    return c.edit ? c.edit : c.widget;
  }
  return nullptr;
}

bool TemplateDialog::has_callback(int id, int reason) const {
  for (const DialogBinding& b : record_.bindings)
    if (b.control_id == id && b.reason == reason && b.callback != nullptr) return true;
  return false;
}

void TemplateDialog::fire(int id, int reason) {
  if (programmatic_) return;
  DialogCallback callback = nullptr;
  for (const DialogBinding& b : record_.bindings)
    if (b.control_id == id && b.reason == reason) callback = b.callback;
  if (callback == nullptr) return;
  callback_stack.push_back(this);
  ++callbacks_running_;
  callback(record_, id, reason);
  --callbacks_running_;
  callback_stack.pop_back();
  if (callbacks_running_ == 0 && close_pending_) {
    close_pending_ = false;
    QDialog::done(pending_result_);
  }
}

void TemplateDialog::done(int result) {
  if (callbacks_running_ > 0) {
    close_pending_ = true;
    pending_result_ = result;
    return;
  }
  QDialog::done(result);
}

void TemplateDialog::close_with(int id) {
  record_.closed_by = id;
  done(id);
}

void TemplateDialog::reject() { close_with(2); }

}  // namespace qtl

#include "side_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <limits>

#include "settings/time_output.h"

namespace {

QCheckBox* check(const QString& text, bool on) {
  auto* box = new QCheckBox(text);
  box->setChecked(on);
  return box;
}

}  // namespace

SidePanel::SidePanel(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  const GraphSettings d = default_settings;

  auto* range = new QGroupBox(tr("Range"));
  auto* range_form = new QFormLayout(range);
  start_ = new QSpinBox;
  end_ = new QSpinBox;
  frequency_ = new QSpinBox;
  frequency_->setMinimum(1);
  range_form->addRow(tr("Start step"), start_);
  range_form->addRow(tr("End step"), end_);
  range_form->addRow(tr("Step frequency"), frequency_);
  layout->addWidget(range);

  auto* magnification = new QGroupBox(tr("Magnification"));
  auto* magnification_form = new QFormLayout(magnification);
  factor_ = new QDoubleSpinBox;
  factor_->setDecimals(4);
  factor_->setRange(0, 1e9);
  factor_->setValue(d.displacement_factor);
  fit_ = check(tr("Fit: largest displacement at a tenth of the model"), false);
  factor_shown_ = new QLabel;
  magnification_form->addRow(tr("Factor"), factor_);
  magnification_form->addRow(fit_);
  magnification_form->addRow(tr("Drawn with"), factor_shown_);
  layout->addWidget(magnification);

  auto* look = new QGroupBox(tr("Picture"));
  auto* look_form = new QFormLayout(look);
  reverse_vertical_ = check(tr("Reverse vertical axis"), d.reverse_vertical);
  reverse_y_ = check(tr("Reverse Y axis"), d.reverse_y);
  scheme_ = new QComboBox;
  scheme_->addItem(tr("Standard"), kSchemeStandard);
  scheme_->addItem(tr("All Black"), kSchemeAllBlack);
  grid_ = check(tr("Grid and scale"), d.show_grid_and_scale);
  node_numbers_ = check(tr("Node numbers"), d.show_node_indices);
  element_numbers_ = check(tr("Element numbers"), d.show_element_indices);
  time_label_ = check(tr("Time label at"), d.show_time_output);
  time_item_ = new QSpinBox;
  time_item_->setMinimum(1);
  trail_ = check(tr("Show all positions (trail)"), d.show_all_positions);
  look_form->addRow(reverse_vertical_);
  look_form->addRow(reverse_y_);
  look_form->addRow(tr("Colours"), scheme_);
  look_form->addRow(grid_);
  look_form->addRow(node_numbers_);
  look_form->addRow(element_numbers_);
  look_form->addRow(time_label_, time_item_);
  look_form->addRow(trail_);
  layout->addWidget(look);

  auto* colours = new QGroupBox(tr("Colour elements by"));
  auto* colours_form = new QFormLayout(colours);
  colour_by_ = new QComboBox;
  colour_by_->addItem(tr("Nothing (line colour)"), static_cast<int>(ColourBy::none));
  for (ColourBy by : {ColourBy::displacement, ColourBy::value, ColourBy::code})
    colour_by_->addItem(tr(colour_quantity_name(by)), static_cast<int>(by));
  colour_map_ = new QComboBox;
  colour_range_ = new QComboBox;
  colour_range_->addItem(tr("Over every drawn step"), static_cast<int>(ColourRange::all_steps));
  colour_range_->addItem(tr("Over the frame"), static_cast<int>(ColourRange::frame));
  colours_form->addRow(tr("Quantity"), colour_by_);
  colours_form->addRow(tr("Map"), colour_map_);
  colours_form->addRow(tr("Range"), colour_range_);
  layout->addWidget(colours);
  layout->addStretch(1);
  // The maps that fit the quantity, its default first.
  const auto fill_maps = [this] {
    const auto by = static_cast<ColourBy>(colour_by_->currentData().toInt());
    const QSignalBlocker block(colour_map_);
    colour_map_->clear();
    colour_map_->setEnabled(by != ColourBy::none);
    colour_range_->setEnabled(by != ColourBy::none);
    if (by == ColourBy::none) return;
    const ColourMap& first = default_colour_map(by);
    colour_map_->addItem(QString::fromLatin1(first.name), QString::fromLatin1(first.name));
    for (const ColourMap& map : colour_maps())
      if (colour_map_fits(by, map) && &map != &first)
        colour_map_->addItem(QString::fromLatin1(map.name), QString::fromLatin1(map.name));
  };
  fill_maps();
  connect(colour_by_, &QComboBox::currentIndexChanged, this, fill_maps);

  const auto changed = [this] {
    if (!filling_) emit this->changed();
  };
  for (QSpinBox* box : {start_, end_, frequency_, time_item_})
    connect(box, &QSpinBox::valueChanged, this, changed);
  connect(factor_, &QDoubleSpinBox::valueChanged, this, changed);
  for (QComboBox* box : {scheme_, colour_by_, colour_map_, colour_range_})
    connect(box, &QComboBox::currentIndexChanged, this, changed);
  for (QCheckBox* box :
       {fit_, reverse_vertical_, reverse_y_, grid_, node_numbers_, element_numbers_, time_label_, trail_})
    connect(box, &QCheckBox::toggled, this, changed);
  connect(fit_, &QCheckBox::toggled, factor_, &QWidget::setDisabled);
}

void SidePanel::set_problem(const Problem& problem) {
  filling_ = true;
  const std::int32_t last = std::max(problem.control.step_count, 0);
  for (QSpinBox* box : {start_, end_}) box->setRange(0, last);
  frequency_->setRange(1, std::max(last, 1));
  start_->setValue(0);
  end_->setValue(last);
  frequency_->setValue(1);
  reverse_y_->setEnabled(problem.control.NGL == 3);
  const std::int32_t items = std::max(time_output_item_count(problem), 1);
  time_item_->setRange(1, items);
  time_item_->setValue(1);
  time_item_->setToolTip(problem.origin_is_node || items == problem.control.node_count
                             ? tr("The node the time label is drawn beside")
                             : tr("The node the time label is drawn beside; %1 is the origin").arg(items));
  filling_ = false;
}

GraphSettings SidePanel::settings() const {
  GraphSettings s = default_settings;
  s.start_step = start_->value();
  s.end_step = end_->value();
  s.step_frequency = frequency_->value();
  s.frame_delay_ms = 0;
  s.displacement_factor = static_cast<float>(factor_->value());
  s.reverse_vertical = reverse_vertical_->isChecked();
  s.reverse_y = reverse_y_->isEnabled() && reverse_y_->isChecked();
  s.show_grid_and_scale = grid_->isChecked();
  s.show_node_indices = node_numbers_->isChecked();
  s.show_element_indices = element_numbers_->isChecked();
  s.show_time_output = time_label_->isChecked();
  s.time_output_item = time_item_->value();
  s.show_all_positions = trail_->isChecked();
  set_colours(s, colour_scheme() == kSchemeAllBlack ? all_black_colours : standard_colours);
  return s;
}

std::int32_t SidePanel::colour_scheme() const { return scheme_->currentData().toInt(); }

bool SidePanel::fit_magnification() const { return fit_->isChecked(); }

Colouring SidePanel::colouring() const {
  Colouring c;
  c.by = static_cast<ColourBy>(colour_by_->currentData().toInt());
  if (c.by == ColourBy::none) return c;
  c.map = find_colour_map(colour_map_->currentData().toString().toStdString());
  c.range = static_cast<ColourRange>(colour_range_->currentData().toInt());
  return c;
}

void SidePanel::show_factor(float factor) {
  factor_shown_->setText(QString::number(static_cast<double>(factor), 'g', 4));
}

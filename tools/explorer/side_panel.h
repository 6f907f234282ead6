// The side panel: the viewer's settings for the Explorer's picture, each
// applied as soon as it changes: the range (start, end, frequency), the
// magnification (a factor or "fit"), the axis orientation, colour scheme,
// grid and scale, node and element numbers, time label and show-all trail;
// and, as veltra-export offers it, elements coloured by a quantity.
#pragma once

#include <QWidget>

#include "input/problem.h"
#include "render/colouring.h"
#include "settings/graph_settings.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;

class SidePanel : public QWidget {
  Q_OBJECT
 public:
  explicit SidePanel(QWidget* parent = nullptr);

  // Sets the fields for a newly opened problem: the whole range at every
  // step, the viewer's defaults for the rest.
  void set_problem(const Problem& problem);

  // The chosen settings (range, factor, look, colours of the scheme).
  GraphSettings settings() const;
  std::int32_t colour_scheme() const;
  bool fit_magnification() const;
  // Elements coloured by a quantity, or not (the viewer's line colour).
  Colouring colouring() const;

  // Shows the factor the picture is drawn with (the fit's, when chosen).
  void show_factor(float factor);

 signals:
  void changed();

 private:
  QSpinBox* start_ = nullptr;
  QSpinBox* end_ = nullptr;
  QSpinBox* frequency_ = nullptr;
  QDoubleSpinBox* factor_ = nullptr;
  QCheckBox* fit_ = nullptr;
  QLabel* factor_shown_ = nullptr;
  QCheckBox* reverse_vertical_ = nullptr;
  QCheckBox* reverse_y_ = nullptr;
  QComboBox* scheme_ = nullptr;
  QComboBox* colour_by_ = nullptr;
  QComboBox* colour_map_ = nullptr;
  QComboBox* colour_range_ = nullptr;
  QCheckBox* grid_ = nullptr;
  QCheckBox* node_numbers_ = nullptr;
  QCheckBox* element_numbers_ = nullptr;
  QCheckBox* time_label_ = nullptr;
  QSpinBox* time_item_ = nullptr;
  QCheckBox* trail_ = nullptr;
  bool filling_ = false;  // set_problem is filling the fields
};

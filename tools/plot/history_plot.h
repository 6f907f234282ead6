// The picture of a node's time history: the displacement u against the time
// t, one curve per direction, with axes, ticks, numbers, axis titles, the
// problem title and a legend. Drawn with QPainter onto any paint device (an
// image or an SVG generator).
#pragma once

#include <QPainter>
#include <QRectF>
#include <QString>
#include <limits>
#include <vector>

#include "result_scan.h"

struct HistoryPlot {
  QString title;                // the problem title
  QString subtitle;             // which node
  const NodeHistory* history = nullptr;
  std::vector<int> directions;  // the curves, 1..NGL
  // A vertical cursor at this time, with the curves' values marked on it
  // (the Explorer's current step); none when not finite.
  double cursor_time = std::numeric_limits<double>::quiet_NaN();
};

// Tick positions for an axis from `low` to `high`: multiples of 1, 2 or 5
// times a power of ten, about `wanted` of them, covering the range.
std::vector<double> axis_ticks(double low, double high, int wanted);

// Draws `plot` into `area` (white background included).
void draw_history_plot(QPainter& painter, const QRectF& area, const HistoryPlot& plot);

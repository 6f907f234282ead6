#include "history_plot.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

const QColor kCurveColours[] = {QColor(0, 90, 200), QColor(210, 40, 40), QColor(20, 150, 60)};

QString tick_label(double value, double spacing) {
  if (std::fabs(value) < spacing * 1e-6) value = 0;
  const double magnitude = std::max(std::fabs(value), spacing);
  if (magnitude >= 1e5 || magnitude < 1e-3) return QString::number(value, 'g', 3);
  const int decimals = std::max(0, static_cast<int>(std::ceil(-std::log10(spacing) - 1e-9)));
  return QString::number(value, 'f', decimals);
}

}  // namespace

std::vector<double> axis_ticks(double low, double high, int wanted) {
  std::vector<double> ticks;
  if (!(high > low) || wanted < 1) return ticks;
  const double rough = (high - low) / wanted;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  double spacing = 10 * power;
  for (double m : {1.0, 2.0, 5.0})
    if (m * power >= rough) {
      spacing = m * power;
      break;
    }
  // Ends that miss a tick by a rounding of 32-bit data still get it.
  const double slack = spacing * 1e-4;
  for (double t = std::ceil((low - slack) / spacing) * spacing; t <= high + slack; t += spacing) ticks.push_back(t);
  return ticks;
}

void draw_history_plot(QPainter& painter, const QRectF& area, const HistoryPlot& plot) {
  const NodeHistory& h = *plot.history;
  painter.fillRect(area, Qt::white);
  painter.setRenderHint(QPainter::Antialiasing, true);

  QFont font = painter.font();
  font.setPixelSize(std::max(10, static_cast<int>(area.height() / 45)));
  painter.setFont(font);
  QFont title_font = font;
  title_font.setPixelSize(font.pixelSize() * 3 / 2);
  title_font.setBold(true);
  const QFontMetricsF metrics(font);
  const QFontMetricsF title_metrics(title_font);

  // Ranges: the whole time, and every value of the curves with 0 in sight.
  double t_low = h.time.empty() ? 0 : h.time.front(), t_high = h.time.empty() ? 1 : h.time.back();
  if (!(t_high > t_low)) t_high = t_low + 1;
  double u_low = 0, u_high = 0;
  for (int j : plot.directions)
    for (std::size_t s = 0; s < h.time.size(); ++s) {
      const double v = h.value(static_cast<std::int32_t>(s), j);
      if (std::isfinite(v)) u_low = std::min(u_low, v), u_high = std::max(u_high, v);
    }
  if (!(u_high > u_low)) u_low -= 1, u_high += 1;
  const double pad = 0.05 * (u_high - u_low);
  u_low -= pad, u_high += pad;
  const std::vector<double> t_ticks = axis_ticks(t_low, t_high, 8);
  const std::vector<double> u_ticks = axis_ticks(u_low, u_high, 6);
  const double t_spacing = t_ticks.size() > 1 ? t_ticks[1] - t_ticks[0] : 1;
  const double u_spacing = u_ticks.size() > 1 ? u_ticks[1] - u_ticks[0] : 1;

  double label_width = 0;
  for (double u : u_ticks) label_width = std::max(label_width, metrics.horizontalAdvance(tick_label(u, u_spacing)));
  const double line = metrics.height();
  const QRectF box(area.left() + label_width + 2.5 * line, area.top() + title_metrics.height() + 2 * line,
                   area.width() - label_width - 4 * line, area.height() - title_metrics.height() - 5.5 * line);
  auto x_of = [&](double t) { return box.left() + (t - t_low) / (t_high - t_low) * box.width(); };
  auto y_of = [&](double u) { return box.bottom() - (u - u_low) / (u_high - u_low) * box.height(); };

  // Titles.
  painter.setPen(Qt::black);
  painter.setFont(title_font);
  painter.drawText(QRectF(area.left(), area.top() + 0.3 * line, area.width(), title_metrics.height()),
                   Qt::AlignHCenter | Qt::AlignVCenter, plot.title);
  painter.setFont(font);
  painter.drawText(QRectF(area.left(), area.top() + 0.3 * line + title_metrics.height(), area.width(), line),
                   Qt::AlignHCenter | Qt::AlignVCenter, plot.subtitle);

  // Grid, ticks and numbers.
  const double tick = 0.4 * line;
  for (double t : t_ticks) {
    const double x = x_of(t);
    painter.setPen(QPen(QColor(225, 225, 225), 0));
    painter.drawLine(QPointF(x, box.top()), QPointF(x, box.bottom()));
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(QPointF(x, box.bottom()), QPointF(x, box.bottom() + tick));
    painter.drawText(QRectF(x - 4 * line, box.bottom() + tick, 8 * line, line), Qt::AlignHCenter | Qt::AlignTop,
                     tick_label(t, t_spacing));
  }
  for (double u : u_ticks) {
    const double y = y_of(u);
    painter.setPen(QPen(std::fabs(u) < u_spacing * 1e-6 ? QColor(160, 160, 160) : QColor(225, 225, 225), 0));
    painter.drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(QPointF(box.left() - tick, y), QPointF(box.left(), y));
    painter.drawText(QRectF(box.left() - tick - label_width - 0.3 * line, y - line / 2, label_width, line),
                     Qt::AlignRight | Qt::AlignVCenter, tick_label(u, u_spacing));
  }
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(box);

  // Axis titles.
  QFont axis_font = font;
  axis_font.setItalic(true);
  painter.setFont(axis_font);
  painter.drawText(QRectF(box.left(), box.bottom() + tick + 1.2 * line, box.width(), line),
                   Qt::AlignHCenter | Qt::AlignTop, "t");
  painter.drawText(QRectF(area.left() + 0.3 * line, box.top(), line, box.height()), Qt::AlignCenter, "u");
  painter.setFont(font);

  // Curves, clipped to the box.
  painter.save();
  painter.setClipRect(box.adjusted(-1, -1, 1, 1));
  for (std::size_t c = 0; c < plot.directions.size(); ++c) {
    const int j = plot.directions[c];
    QPainterPath path;
    bool started = false;
    for (std::size_t s = 0; s < h.time.size(); ++s) {
      const double v = h.value(static_cast<std::int32_t>(s), j);
      if (!std::isfinite(v)) {
        started = false;
        continue;
      }
      const QPointF p(x_of(h.time[s]), y_of(v));
      if (started)
        path.lineTo(p);
      else
        path.moveTo(p);
      started = true;
    }
    painter.setPen(QPen(kCurveColours[(j - 1) % 3], std::max(1.5, line / 8)));
    painter.drawPath(path);
  }
  if (std::isfinite(plot.cursor_time) && plot.cursor_time >= t_low && plot.cursor_time <= t_high) {
    const double x = x_of(plot.cursor_time);
    painter.setPen(QPen(QColor(255, 96, 0), std::max(1.0, line / 10)));
    painter.drawLine(QPointF(x, box.top()), QPointF(x, box.bottom()));
    // The value of each curve at the step nearest to the cursor.
    std::size_t s = 0;
    for (std::size_t i = 1; i < h.time.size(); ++i)
      if (std::fabs(h.time[i] - plot.cursor_time) < std::fabs(h.time[s] - plot.cursor_time)) s = i;
    for (int j : plot.directions) {
      const double v = s < h.time.size() ? h.value(static_cast<std::int32_t>(s), j) : NAN;
      if (!std::isfinite(v)) continue;
      painter.setBrush(kCurveColours[(j - 1) % 3]);
      painter.setPen(Qt::NoPen);
      painter.drawEllipse(QPointF(x, y_of(v)), line / 4, line / 4);
    }
    painter.setBrush(Qt::NoBrush);
  }
  painter.restore();

  // Legend, in the upper right corner of the box.
  const double entry = 2.2 * line + metrics.horizontalAdvance("u3");
  const QRectF legend(box.right() - entry - 0.8 * line, box.top() + 0.5 * line, entry + 0.4 * line,
                      (plot.directions.size() + 0.4) * line);
  painter.setPen(QPen(QColor(160, 160, 160), 1));
  painter.setBrush(Qt::white);
  painter.drawRect(legend);
  for (std::size_t c = 0; c < plot.directions.size(); ++c) {
    const int j = plot.directions[c];
    const double y = legend.top() + (c + 0.7) * line;
    painter.setPen(QPen(kCurveColours[(j - 1) % 3], std::max(1.5, line / 8)));
    painter.drawLine(QPointF(legend.left() + 0.3 * line, y), QPointF(legend.left() + 1.6 * line, y));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(legend.left() + 1.9 * line, y - line / 2, entry, line), Qt::AlignLeft | Qt::AlignVCenter,
                     "u" + QString::number(j));
  }
}

#include "history_view.h"

#include <QPainter>

HistoryView::HistoryView(QWidget* parent) : QWidget(parent) { setMinimumHeight(160); }

void HistoryView::set_history(std::shared_ptr<const NodeHistory> history, const QString& title,
                              const QString& subtitle) {
  history_ = std::move(history);
  plot_.history = history_.get();
  plot_.title = title;
  plot_.subtitle = subtitle;
  plot_.directions.clear();
  if (history_)
    for (int j = 1; j <= history_->NGL; ++j) plot_.directions.push_back(j);
  update();
}

void HistoryView::set_cursor_time(double t) {
  if (plot_.cursor_time == t) return;
  plot_.cursor_time = t;
  if (history_) update();
}

void HistoryView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!history_) {
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(rect(), Qt::AlignCenter, tr("Click a node to see its displacement against time."));
    return;
  }
  draw_history_plot(painter, QRectF(rect()), plot_);
}

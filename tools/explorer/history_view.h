// The plot panel: the picked node's time history drawn with veltra-plot's
// own picture (history_plot.h), a cursor at the current time.
#pragma once

#include <QWidget>
#include <memory>

#include "history_plot.h"
#include "result_scan.h"

class HistoryView : public QWidget {
  Q_OBJECT
 public:
  explicit HistoryView(QWidget* parent = nullptr);

  // The history to show (none: an empty panel with a hint).
  void set_history(std::shared_ptr<const NodeHistory> history, const QString& title, const QString& subtitle);
  void set_cursor_time(double t);
  bool has_history() const { return history_ != nullptr; }
  QSize sizeHint() const override { return QSize(480, 240); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::shared_ptr<const NodeHistory> history_;
  HistoryPlot plot_;
};

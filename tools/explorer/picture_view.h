// The Explorer's picture: shows the frame the worker handed over, as it is
// (one picture pixel on one device pixel), and turns the mouse into view
// requests: the wheel zooms about the cursor, a drag pans (with the right
// button or Shift, orbits a spatial model), a click picks. Positions are
// reported in device pixels of the picture.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

class PictureView : public QWidget {
  Q_OBJECT
 public:
  explicit PictureView(QWidget* parent = nullptr);

  // Shows `picture` (device pixels, its device pixel ratio set).
  void show_picture(const QImage& picture);
  const QImage& picture() const { return picture_; }

  // The size pictures should have: the widget's in device pixels.
  QSize device_size() const;
  double device_ratio() const { return devicePixelRatioF(); }

 signals:
  void zoom_at(double px, double py, double factor);
  void pan_by(double dx, double dy);
  void orbit_by(double dx, double dy);
  void pick_at(double px, double py);
  void size_changed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QPointF device_point(const QPointF& logical) const;

  QImage picture_;
  enum class Drag { none, pending, pan, orbit } drag_ = Drag::none;
  bool orbit_drag_ = false;
  QPointF press_;
  QPointF last_;
};

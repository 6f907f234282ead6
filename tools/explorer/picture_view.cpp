#include "picture_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace {
// A press that moves less than this (logical pixels) is a click.
constexpr double kClickSlack = 4;
}  // namespace

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::ClickFocus);
  setMinimumSize(200, 150);
  setCursor(Qt::CrossCursor);
}

void PictureView::show_picture(const QImage& picture) {
  picture_ = picture;
  update();
}

QSize PictureView::device_size() const {
  const double ratio = devicePixelRatioF();
  return QSize(std::max(1, static_cast<int>(std::lround(width() * ratio))),
               std::max(1, static_cast<int>(std::lround(height() * ratio))));
}

QPointF PictureView::device_point(const QPointF& logical) const { return logical * devicePixelRatioF(); }

void PictureView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  // The picture is drawn at its own pixels; while a new size is on its way
  // the old picture shows in the corner.
  if (!picture_.isNull()) painter.drawImage(QPointF(0, 0), picture_);
}

void PictureView::resizeEvent(QResizeEvent*) { emit size_changed(); }

void PictureView::wheelEvent(QWheelEvent* event) {
  const double steps = event->angleDelta().y() / 120.0;
  if (steps == 0) return;
  const QPointF at = device_point(event->position());
  emit zoom_at(at.x(), at.y(), std::pow(1.25, steps));
  event->accept();
}

void PictureView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
  drag_ = Drag::pending;
  orbit_drag_ = event->button() == Qt::RightButton || (event->modifiers() & Qt::ShiftModifier);
  press_ = last_ = event->position();
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
  if (drag_ == Drag::none) return;
  const QPointF now = event->position();
  if (drag_ == Drag::pending) {
    if (std::hypot(now.x() - press_.x(), now.y() - press_.y()) < kClickSlack) return;
    drag_ = orbit_drag_ ? Drag::orbit : Drag::pan;
    setCursor(orbit_drag_ ? Qt::SizeAllCursor : Qt::ClosedHandCursor);
  }
  const QPointF delta = device_point(now - last_);
  last_ = now;
  if (drag_ == Drag::pan)
    emit pan_by(delta.x(), delta.y());
  else
    emit orbit_by(delta.x(), delta.y());
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
  if (drag_ == Drag::pending && event->button() == Qt::LeftButton) {
    const QPointF at = device_point(event->position());
    emit pick_at(at.x(), at.y());
  }
  drag_ = Drag::none;
  setCursor(Qt::CrossCursor);
}

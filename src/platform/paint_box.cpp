#include "platform/paint_box.h"

#include <QMouseEvent>
#include <QPainter>

PaintBox::PaintBox(int width, int height, QWidget* parent)
    : QWidget(parent), canvas_(width, height) {
  setFixedSize(width, height);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);  // coordinates follow the mouse without a button held
  // One repaint per burst of drawing calls, however many arrive before it.
  canvas_.SetChangedCallback([this] { update(); });
}

void PaintBox::Repaint() {
  painted_ = true;
  if (onPaint) onPaint(canvas_);
  update();
}

void PaintBox::EnsurePainted() {
  if (!painted_) Repaint();
}

void PaintBox::paintEvent(QPaintEvent* event) {
  EnsurePainted();
  canvas_.TakeChanged();
  QPainter p(this);
  const QRect r = event->rect();
  p.drawImage(r, canvas_.Image(), r);
}

void PaintBox::mousePressEvent(QMouseEvent* event) {
  if (onMouseDown) {
    const QPoint pos = event->position().toPoint();
    onMouseDown(event->button(), pos.x(), pos.y());
  }
  QWidget::mousePressEvent(event);
}

void PaintBox::mouseMoveEvent(QMouseEvent* event) {
  if (onMouseMove) {
    const QPoint pos = event->position().toPoint();
    onMouseMove(pos.x(), pos.y());
  }
  QWidget::mouseMoveEvent(event);
}

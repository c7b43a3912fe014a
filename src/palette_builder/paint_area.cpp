#include "palette_builder/paint_area.h"

#include <QMouseEvent>
#include <QPainter>

PaintArea::PaintArea(int x, int y, int width, int height, QWidget* parent) : QWidget(parent) {
  setGeometry(x, y, width, height);
  setFixedSize(width, height);
  setAttribute(Qt::WA_OpaquePaintEvent);  // every pixel is painted by the owner
}

void PaintArea::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (onPaint) onPaint(p);
}

void PaintArea::mousePressEvent(QMouseEvent* event) {
  if (onMouseDown) {
    const QPoint pos = event->position().toPoint();
    onMouseDown(pos.x(), pos.y());
  }
  QWidget::mousePressEvent(event);
}

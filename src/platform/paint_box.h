#pragma once
// A paint area of fixed size: the window's paint handler draws on an ImageCanvas, and
// the widget shows that image. Drawing outside the paint handler (the inductance
// routines drawing turns while they sum them) lands on the same image and is shown at
// the next repaint, which the first change schedules.
#include <QWidget>
#include <functional>

#include "platform/image_canvas.h"

class PaintBox : public QWidget {
  Q_OBJECT
 public:
  PaintBox(int width, int height, QWidget* parent = nullptr);

  ImageCanvas& Canvas() { return canvas_; }

  // The window's paint handler, run on the first show and by Repaint.
  std::function<void(::Canvas&)> onPaint;
  // Mouse events in pixel coordinates of the area.
  std::function<void(Qt::MouseButton, int x, int y)> onMouseDown;
  std::function<void(int x, int y)> onMouseMove;

  // Runs the paint handler on the image now, then shows the result.
  void Repaint();
  // Runs the paint handler if it has never run.
  void EnsurePainted();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  ImageCanvas canvas_;
  bool painted_ = false;
};

#pragma once
// A paint area of fixed size whose owner draws it and hears its mouse clicks in
// pixel coordinates of the area.
#include <QWidget>
#include <functional>

class QPainter;

class PaintArea : public QWidget {
 public:
  PaintArea(int x, int y, int width, int height, QWidget* parent);

  std::function<void(QPainter&)> onPaint;
  std::function<void(int x, int y)> onMouseDown;  // any button

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
};

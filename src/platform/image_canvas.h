#pragma once
// The Canvas of the windows, drawn on a QImage that a widget shows.
//
// The inductance routines draw the turns they are summing while they compute, far from
// any paint event, so every drawing goes into this backing image at once and the
// widget only copies the image to the screen when it repaints. The drawing model is
// that of the classic Windows GDI canvas the program was designed around:
//   - rectangles and ellipses take the box (x1, y1)-(x2, y2) without its right column
//     and bottom row;
//   - a line starts on its first pixel and leaves out its last one, so a polyline
//     paints every joint once;
//   - Arc runs counter-clockwise between the directions of two points seen from the
//     centre of the box, and equal directions give the whole ellipse;
//   - TextOut paints on the brush colour and leaves the pen after the text.
#include <QFont>
#include <QImage>
#include <QPen>
#include <QPoint>
#include <functional>
#include <memory>
#include <vector>

#include "numerics/canvas.h"
#include "numerics/library_namespaces.h"

class QPainter;

// $BBGGRR (red in the low byte) to a Qt colour, and back.
QColor ToQColor(Color c);
Color FromQColor(const QColor& c);

class ImageCanvas : public Canvas {
 public:
  ImageCanvas(int width, int height);
  ~ImageCanvas() override;
  ImageCanvas(const ImageCanvas&) = delete;
  ImageCanvas& operator=(const ImageCanvas&) = delete;

  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }

  void SetPenColor(Color c) override;
  void SetPenWidth(int w) override;
  void SetPenStyle(PenStyle s) override;
  void SetBrushColor(Color c) override;
  void SetBrushStyle(BrushStyle s) override;
  void SetFontColor(Color c) override { fontColor_ = c; }

  void Rectangle(int x1, int y1, int x2, int y2) override;
  void FillRect(int x1, int y1, int x2, int y2) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void PolylineTo(const CanvasPoint* pts, std::size_t n) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void TextOut(int x, int y, std::string_view text) override;
  int TextWidth(std::string_view text) override;

  // The picture so far (any drawing in progress is finished first).
  const QImage& Image();
  // Replaces the picture (of the same size) by another, as a change.
  void SetImage(const QImage& image);
  // The colour of one pixel as $BBGGRR.
  Color Pixel(int x, int y);
  // Called once each time the image goes from shown to changed, so that the widget
  // can schedule one repaint however many calls draw meanwhile.
  void SetChangedCallback(std::function<void()> onChanged) { onChanged_ = std::move(onChanged); }
  // True when something was drawn since the last call; clears the mark.
  bool TakeChanged();

 private:
  QPainter& Painter();
  void EndPainting();
  void Touch();
  void ApplyPen();
  void ThinLine(QPoint from, QPoint to);
  QPen LinePen() const;

  QImage image_;
  std::unique_ptr<QPainter> painter_;  // kept open between calls: lines come by millions
  std::vector<QPoint> polyline_;       // reused buffer of PolylineTo
  QFont font_;
  Color penColor_ = kBlack;
  int penWidth_ = 1;
  PenStyle penStyle_ = PenStyle::Solid;
  Color brushColor_ = kWhite;
  BrushStyle brushStyle_ = BrushStyle::Solid;
  Color fontColor_ = kBlack;
  QPoint pos_;
  bool changed_ = false;
  std::function<void()> onChanged_;
};

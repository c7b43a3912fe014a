#include "platform/image_canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "numerics/arithmetic_fault.h"
#include "numerics/library_namespaces.h"

// The drawing calls keep the floating-point status flags as they were: what Qt's own
// arithmetic raises is no fault of the calculation that draws.

QColor ToQColor(Color c) {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

Color FromQColor(const QColor& c) {
  return static_cast<Color>(c.red()) | (static_cast<Color>(c.green()) << 8) |
         (static_cast<Color>(c.blue()) << 16);
}

namespace {

// The box of a GDI figure, right column and bottom row excluded, in the form QPainter
// strokes with a one-pixel pen (it covers rect.width() + 1 columns).
QRect StrokeBox(int x1, int y1, int x2, int y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  return QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
}

QRect FillBox(int x1, int y1, int x2, int y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  return QRect(x1, y1, x2 - x1, y2 - y1);
}

constexpr double kRadToDeg = 57.295779513082320876798;

}  // namespace

ImageCanvas::ImageCanvas(int width, int height)
    : image_(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32) {
  image_.fill(Qt::white);
  font_.setFamily(QStringLiteral("Sans Serif"));
  font_.setStyleHint(QFont::SansSerif);
  font_.setPointSize(8);
  font_.setStyleStrategy(QFont::NoAntialias);  // crisp text in exact colours
}

ImageCanvas::~ImageCanvas() { EndPainting(); }

QPen ImageCanvas::LinePen() const {
  QPen pen(ToQColor(penColor_));
  if (penWidth_ <= 1) {
    // One-pixel cosmetic line; the flat cap leaves the end pixel out, as GDI does.
    pen.setWidth(1);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);
  } else {
    pen.setWidth(penWidth_);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
  }
  if (penStyle_ == PenStyle::Dot) pen.setDashPattern({3.0, 3.0});  // GDI's dot: 3 on, 3 off
  return pen;
}

void ImageCanvas::SetImage(const QImage& image) {
  EndPainting();
  image_ = image.convertToFormat(image_.format());
  Touch();
}

QPainter& ImageCanvas::Painter() {
  if (!painter_) {
    painter_ = std::make_unique<QPainter>(&image_);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setFont(font_);
    ApplyPen();
  }
  return *painter_;
}

void ImageCanvas::EndPainting() {
  if (painter_) {
    painter_->end();
    painter_.reset();
  }
}

void ImageCanvas::ApplyPen() {
  if (painter_) painter_->setPen(LinePen());
}

void ImageCanvas::Touch() {
  if (!changed_) {
    changed_ = true;
    if (onChanged_) onChanged_();
  }
}

bool ImageCanvas::TakeChanged() { return std::exchange(changed_, false); }

const QImage& ImageCanvas::Image() {
  EndPainting();
  return image_;
}

Color ImageCanvas::Pixel(int x, int y) { return FromQColor(QColor(Image().pixel(x, y))); }

void ImageCanvas::SetPenColor(Color c) {
  penColor_ = c & 0xFFFFFF;
  ApplyPen();
}
void ImageCanvas::SetPenWidth(int w) {
  penWidth_ = w;
  ApplyPen();
}
void ImageCanvas::SetPenStyle(PenStyle s) {
  penStyle_ = s;
  ApplyPen();
}
void ImageCanvas::SetBrushColor(Color c) { brushColor_ = c & 0xFFFFFF; }
void ImageCanvas::SetBrushStyle(BrushStyle s) { brushStyle_ = s; }

void ImageCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  const FaultFlagsKeeper keepFlags;
  QPainter& p = Painter();
  if (brushStyle_ == BrushStyle::Solid)
    p.fillRect(FillBox(x1, y1, x2, y2), ToQColor(brushColor_));
  p.setBrush(Qt::NoBrush);
  p.drawRect(StrokeBox(x1, y1, x2, y2));
  Touch();
}

void ImageCanvas::FillRect(int x1, int y1, int x2, int y2) {
  const FaultFlagsKeeper keepFlags;
  Painter().fillRect(FillBox(x1, y1, x2, y2), ToQColor(brushColor_));
  Touch();
}

void ImageCanvas::MoveTo(int x, int y) { pos_ = QPoint(x, y); }

// One-pixel lines are set straight into the image by Bresenham's algorithm: the first
// pixel is drawn and the last one left out, so that a line continued from the pen
// position paints every joint exactly once, and a polyline is the same picture as
// its segments drawn one by one. The steps are clipped to the image, so a line
// running far outside costs no more than one across it.
void ImageCanvas::ThinLine(QPoint from, QPoint to) {
  const std::int64_t dx = std::abs(static_cast<std::int64_t>(to.x()) - from.x());
  const std::int64_t dy = std::abs(static_cast<std::int64_t>(to.y()) - from.y());
  const int sx = to.x() >= from.x() ? 1 : -1;
  const int sy = to.y() >= from.y() ? 1 : -1;
  const bool xMajor = dx >= dy;
  const std::int64_t steps = xMajor ? dx : dy;  // pixels drawn: the last one is left out
  if (steps == 0) return;
  const std::int64_t major = steps, minor = xMajor ? dy : dx;
  const int w = image_.width(), h = image_.height();

  // Steps i whose major coordinate lies on the image.
  const std::int64_t m0 = xMajor ? from.x() : from.y();
  const int ms = xMajor ? sx : sy;
  const std::int64_t size = xMajor ? w : h;
  std::int64_t iLo = 0, iHi = steps - 1;
  if (ms > 0) {
    iLo = std::max<std::int64_t>(iLo, -m0);
    iHi = std::min<std::int64_t>(iHi, size - 1 - m0);
  } else {
    iLo = std::max<std::int64_t>(iLo, m0 - (size - 1));
    iHi = std::min<std::int64_t>(iHi, m0);
  }
  if (iLo > iHi) return;

  const QRgb ink = ToQColor(penColor_).rgb();
  const QRgb paper = ToQColor(brushColor_).rgb();
  const bool dotted = penStyle_ == PenStyle::Dot;
  const bool opaque = brushStyle_ == BrushStyle::Solid;
  uchar* bits = image_.bits();
  const qsizetype stride = image_.bytesPerLine();
  // After i steps along the major axis the minor offset is
  // floor((2*minor*i + major - 1) / (2*major)), the closed form of the error term.
  for (std::int64_t i = iLo; i <= iHi; ++i) {
    const std::int64_t k = (2 * minor * i + major - 1) / (2 * major);
    const std::int64_t px = xMajor ? from.x() + sx * i : from.x() + sx * k;
    const std::int64_t py = xMajor ? from.y() + sy * k : from.y() + sy * i;
    if (px < 0 || px >= w || py < 0 || py >= h) continue;
    QRgb* row = reinterpret_cast<QRgb*>(bits + py * stride);
    if (!dotted || (i / 3) % 2 == 0)
      row[px] = ink;  // dots of three pixels ...
    else if (opaque)
      row[px] = paper;  // ... and gaps in the background colour
  }
  Touch();
}

void ImageCanvas::LineTo(int x, int y) {
  const FaultFlagsKeeper keepFlags;
  const QPoint to(x, y);
  if (penWidth_ <= 1) {
    ThinLine(pos_, to);
  } else {
    Painter().drawLine(pos_, to);
    Touch();
  }
  pos_ = to;
}

void ImageCanvas::PolylineTo(const CanvasPoint* pts, std::size_t n) {
  const FaultFlagsKeeper keepFlags;
  if (n == 0) return;
  if (penWidth_ <= 1) {
    for (std::size_t i = 0; i < n; ++i) {
      const QPoint to(pts[i].x, pts[i].y);
      ThinLine(pos_, to);
      pos_ = to;
    }
    return;
  }
  polyline_.resize(n + 1);
  polyline_[0] = pos_;
  for (std::size_t i = 0; i < n; ++i) polyline_[i + 1] = QPoint(pts[i].x, pts[i].y);
  Painter().drawPolyline(polyline_.data(), static_cast<int>(polyline_.size()));
  pos_ = polyline_.back();
  Touch();
}

void ImageCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  const FaultFlagsKeeper keepFlags;
  QPainter& p = Painter();
  if (brushStyle_ == BrushStyle::Solid)
    p.setBrush(ToQColor(brushColor_));
  else
    p.setBrush(Qt::NoBrush);
  p.drawEllipse(StrokeBox(x1, y1, x2, y2));
  p.setBrush(Qt::NoBrush);
  Touch();
}

void ImageCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  const FaultFlagsKeeper keepFlags;
  const QRect box = StrokeBox(x1, y1, x2, y2);
  const double cx = 0.5 * (x1 + x2);
  const double cy = 0.5 * (y1 + y2);
  const double a = 0.5 * std::abs(x2 - x1);  // half axes
  const double b = 0.5 * std::abs(y2 - y1);
  // Qt places a point of an ellipse by its parametric angle t, (a cos t, b sin t); the
  // arc ends are given as directions from the centre, so the ray of direction
  // (dx, dy) meets the ellipse at t = atan2(a dy, b dx) (y up on the screen).
  auto ParamDeg = [&](int x, int y) {
    const double dx = x - cx;
    const double dy = cy - y;
    if (a > 0 && b > 0) return std::atan2(a * dy, b * dx) * kRadToDeg;
    return std::atan2(dy, dx) * kRadToDeg;
  };
  const double start = ParamDeg(x3, y3);
  const double end = ParamDeg(x4, y4);
  double span = end - start;
  while (span <= 0) span += 360.0;  // counter-clockwise; equal directions: whole ellipse
  while (span > 360.0) span -= 360.0;

  QPainterPath path;
  path.arcMoveTo(box, start);
  path.arcTo(box, start, span);
  QPainter& p = Painter();
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  Touch();
}

void ImageCanvas::TextOut(int x, int y, std::string_view text) {
  const FaultFlagsKeeper keepFlags;
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  QPainter& p = Painter();
  const QFontMetrics fm(font_, &image_);
  const int w = fm.horizontalAdvance(s);
  if (brushStyle_ == BrushStyle::Solid)
    p.fillRect(QRect(x, y, w, fm.height()), ToQColor(brushColor_));
  p.setPen(ToQColor(fontColor_));  // the font colour, not the pen's
  p.drawText(QPoint(x, y + fm.ascent()), s);
  ApplyPen();
  pos_ = QPoint(x + w, y);
  Touch();
}

int ImageCanvas::TextWidth(std::string_view text) {
  const FaultFlagsKeeper keepFlags;
  const QFontMetrics fm(font_, &image_);
  return fm.horizontalAdvance(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

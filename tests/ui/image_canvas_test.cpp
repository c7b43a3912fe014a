// The QImage canvas against the GDI drawing model the windows rely on.
#include <gtest/gtest.h>

#include <QApplication>
#include <cmath>
#include <random>
#include <vector>

#include "platform/image_canvas.h"
#include "platform/paint_box.h"
#include "platform/report_memo.h"

namespace {

// Pixels of one colour inside a box.
int CountColor(ImageCanvas& c, Color color, int x1, int y1, int x2, int y2) {
  int n = 0;
  for (int y = y1; y < y2; ++y)
    for (int x = x1; x < x2; ++x) n += c.Pixel(x, y) == color;
  return n;
}

// Non-white pixels whose direction from (cx, cy), in degrees counter-clockwise from +x
// with y up, lies in [lo, hi].
int CountInSector(ImageCanvas& c, double cx, double cy, double lo, double hi) {
  int n = 0;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) {
      if (c.Pixel(x, y) == kWhite) continue;
      double deg = std::atan2(cy - (y + 0.5), (x + 0.5) - cx) * 180.0 / M_PI;
      if (deg < 0) deg += 360.0;
      n += deg >= lo && deg <= hi;
    }
  return n;
}

// Pixels that differ between two pictures of the same size.
int Differences(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}

}  // namespace

TEST(ImageCanvas, ColoursAreBlueGreenRedValues) {
  struct Row {
    Color color;
    QColor expected;
  };
  const Row rows[] = {{kRed, QColor(255, 0, 0)},   {kBlue, QColor(0, 0, 255)},
                      {kGreen, QColor(0, 128, 0)}, {kGray, QColor(128, 128, 128)},
                      {0x123456, QColor(0x56, 0x34, 0x12)}};
  for (const Row& r : rows) {
    ImageCanvas c(8, 8);
    c.SetBrushColor(r.color);
    c.FillRect(0, 0, 8, 8);
    EXPECT_EQ(QColor(c.Image().pixel(3, 3)), r.expected) << std::hex << r.color;
    EXPECT_EQ(c.Pixel(3, 3), r.color);
  }
}

TEST(ImageCanvas, BoxesLeaveOutTheRightColumnAndBottomRow) {
  ImageCanvas c(20, 20);
  c.SetBrushColor(kYellow);
  c.FillRect(0, 0, 20, 20);
  c.SetBrushColor(kWhite);
  c.SetPenColor(kBlack);
  c.Rectangle(2, 3, 10, 8);
  // Frame on columns 2..9 and rows 3..7, interior white.
  EXPECT_EQ(c.Pixel(2, 3), kBlack);
  EXPECT_EQ(c.Pixel(9, 3), kBlack);
  EXPECT_EQ(c.Pixel(9, 7), kBlack);
  EXPECT_EQ(c.Pixel(2, 7), kBlack);
  EXPECT_EQ(c.Pixel(5, 5), kWhite);
  EXPECT_EQ(c.Pixel(10, 5), kYellow);
  EXPECT_EQ(c.Pixel(5, 8), kYellow);
  EXPECT_EQ(CountColor(c, kBlack, 0, 0, 20, 20), 2 * 8 + 2 * 3);

  // FillRect covers the same half-open box, with no frame.
  c.SetBrushColor(kRed);
  c.FillRect(12, 12, 15, 14);
  EXPECT_EQ(CountColor(c, kRed, 0, 0, 20, 20), 3 * 2);
  // A clear brush leaves the inside alone.
  c.SetBrushStyle(BrushStyle::Clear);
  c.Rectangle(11, 11, 16, 16);
  EXPECT_EQ(c.Pixel(13, 13), kRed);
}

TEST(ImageCanvas, LinesLeaveOutTheirLastPixel) {
  ImageCanvas c(20, 20);
  c.SetPenColor(kBlack);
  c.MoveTo(1, 1);
  c.LineTo(10, 1);  // horizontal
  c.MoveTo(1, 3);
  c.LineTo(1, 12);  // vertical
  EXPECT_EQ(CountColor(c, kBlack, 0, 0, 20, 2), 9);
  EXPECT_EQ(c.Pixel(9, 1), kBlack);
  EXPECT_EQ(c.Pixel(10, 1), kWhite);
  EXPECT_EQ(c.Pixel(1, 11), kBlack);
  EXPECT_EQ(c.Pixel(1, 12), kWhite);

  // A shallow diagonal steps down at the middle of its run.
  ImageCanvas d(8, 4);
  d.MoveTo(0, 0);
  d.LineTo(4, 2);
  for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {2, 1}, {3, 1}}) EXPECT_EQ(d.Pixel(x, y), kBlack);
  EXPECT_EQ(CountColor(d, kBlack, 0, 0, 8, 4), 4);
}

TEST(ImageCanvas, LinesFarOutsideAreClippedToTheImage) {
  ImageCanvas c(50, 50);
  c.SetPenColor(kBlue);
  c.MoveTo(-2000000000, 10);
  c.LineTo(2000000000, 10);  // across the whole image
  EXPECT_EQ(CountColor(c, kBlue, 0, 10, 50, 11), 50);
  c.MoveTo(25, -1000000);
  c.LineTo(25, 1000000);
  EXPECT_EQ(CountColor(c, kBlue, 25, 0, 26, 50), 50);
  c.MoveTo(-1000000, -1000000);
  c.LineTo(1000000, 1000000);  // the main diagonal
  for (int i = 0; i < 50; ++i) EXPECT_EQ(c.Pixel(i, i), kBlue) << i;
  c.SetPenColor(kRed);
  c.MoveTo(-500, -20);
  c.LineTo(-10, 3000);  // entirely outside
  EXPECT_EQ(CountColor(c, kRed, 0, 0, 50, 50), 0);
}

TEST(ImageCanvas, PolylineDrawsWhatTheSameLineToCallsDraw) {
  std::mt19937 gen(7);
  std::uniform_int_distribution<int> coord(-20, 140);  // some points off the image
  std::vector<CanvasPoint> pts(500);
  for (CanvasPoint& p : pts) p = {coord(gen), coord(gen)};

  for (int width : {1, 3}) {
    ImageCanvas a(120, 120), b(120, 120);
    for (ImageCanvas* c : {&a, &b}) {
      c->SetPenColor(kBlue);
      c->SetPenWidth(width);
      c->MoveTo(60, 60);
    }
    a.PolylineTo(pts.data(), pts.size());
    for (const CanvasPoint& p : pts) b.LineTo(p.x, p.y);
    EXPECT_EQ(Differences(a.Image(), b.Image()), 0) << "pen width " << width;
    // The pen ends on the last point for both.
    a.LineTo(0, 0);
    b.LineTo(0, 0);
    EXPECT_EQ(Differences(a.Image(), b.Image()), 0) << "pen width " << width;
  }
}

TEST(ImageCanvas, EllipseFitsTheBoxWithoutItsRightAndBottomEdges) {
  ImageCanvas c(40, 30);
  c.SetPenColor(kBlack);
  c.SetBrushColor(kAqua);
  c.Ellipse(5, 5, 35, 25);
  EXPECT_EQ(CountColor(c, kBlack, 0, 0, 5, 30), 0);
  EXPECT_EQ(CountColor(c, kBlack, 35, 0, 40, 30), 0);
  EXPECT_EQ(CountColor(c, kBlack, 0, 25, 40, 30), 0);
  EXPECT_EQ(CountColor(c, kBlack, 0, 0, 40, 5), 0);
  EXPECT_GT(CountColor(c, kBlack, 5, 5, 6, 25), 0);    // touches the left column
  EXPECT_GT(CountColor(c, kBlack, 34, 5, 35, 25), 0);  // and column x2 - 1
  EXPECT_EQ(c.Pixel(20, 15), kAqua);                   // filled with the brush
}

TEST(ImageCanvas, ArcRunsCounterClockwiseBetweenDirections) {
  const int x1 = 10, y1 = 10, x2 = 71, y2 = 71;
  const int cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
  const double mx = 0.5 * (x1 + x2 - 1), my = 0.5 * (y1 + y2 - 1);  // pixel centre
  struct Row {
    const char* name;
    int startDeg, endDeg;
    double drawnLo, drawnHi;  // a sector that must be drawn
    double emptyLo, emptyHi;  // a sector that must stay empty
  };
  const Row rows[] = {
      {"upper half", 0, 180, 20, 160, 200, 340},
      {"left half", 90, 270, 110, 250, 290, 360},
      {"wraps through 0", 270, 90, 290, 360, 110, 250},
      {"lower quarter", 180, 270, 190, 260, 280, 350},
  };
  for (const Row& r : rows) {
    ImageCanvas c(81, 81);
    c.SetPenColor(kBlack);
    auto dir = [](int deg, int base, int sign) {
      return base + sign * static_cast<int>(std::lround(10000 * (sign > 0 ? std::cos(deg * M_PI / 180)
                                                                             : std::sin(deg * M_PI / 180))));
    };
    c.Arc(x1, y1, x2, y2, dir(r.startDeg, cx, 1), dir(r.startDeg, cy, -1), dir(r.endDeg, cx, 1),
          dir(r.endDeg, cy, -1));
    EXPECT_GT(CountInSector(c, mx, my, r.drawnLo, r.drawnHi), 20) << r.name;
    EXPECT_EQ(CountInSector(c, mx, my, r.emptyLo, r.emptyHi), 0) << r.name;
  }

  // Equal directions: the whole ellipse, all four quadrants.
  ImageCanvas full(81, 81);
  full.SetPenColor(kBlack);
  full.Arc(x1, y1, x2, y2, cx + 10000, cy, cx + 10000, cy);
  for (double q : {0.0, 90.0, 180.0, 270.0})
    EXPECT_GT(CountInSector(full, mx, my, q + 10, q + 80), 10) << q;
}

TEST(ImageCanvas, ArcEndsFollowTheDirectionOnAFlatEllipse) {
  // A wide ellipse, arc from direction 0 to direction 45 degrees. The point of the
  // ellipse seen at 45 degrees lies near its top; a parametric 45 degrees would end
  // far lower, near 11 degrees of direction.
  ImageCanvas c(120, 40);
  c.SetPenColor(kBlack);
  const int x1 = 10, y1 = 10, x2 = 110, y2 = 30;
  const int cx = 60, cy = 20;
  c.Arc(x1, y1, x2, y2, cx + 10000, cy, cx + 7071, cy - 7071);
  EXPECT_GT(CountInSector(c, 59.5, 19.5, 25, 40), 0);
  EXPECT_EQ(CountInSector(c, 59.5, 19.5, 55, 355), 0);
}

TEST(ImageCanvas, DottedPenLeavesGaps) {
  ImageCanvas c(60, 10);
  c.SetPenColor(kGray);
  c.SetPenStyle(PenStyle::Dot);
  c.MoveTo(0, 5);
  c.LineTo(60, 5);
  const int grey = CountColor(c, kGray, 0, 5, 60, 6);
  EXPECT_GT(grey, 15);
  EXPECT_LT(grey, 45);
  c.SetPenStyle(PenStyle::Solid);
  c.MoveTo(0, 7);
  c.LineTo(60, 7);
  EXPECT_EQ(CountColor(c, kGray, 0, 7, 60, 8), 60);
}

TEST(ImageCanvas, TextOutPaintsWithinItsWidthAndMovesThePen) {
  ImageCanvas c(200, 40);
  const int w = c.TextWidth("Capacitance");
  EXPECT_GT(w, 30);
  EXPECT_GT(c.TextWidth("WWWW"), c.TextWidth("iiii"));
  c.SetBrushColor(kYellow);
  c.TextOut(10, 5, "Capacitance");
  EXPECT_GT(CountColor(c, kBlack, 10, 5, 10 + w, 35), 10);
  EXPECT_EQ(CountColor(c, kBlack, 10 + w + 1, 0, 200, 40), 0);
  EXPECT_EQ(c.Pixel(10 + w - 1, 5), kYellow);  // opaque background in the brush colour
  c.SetPenColor(kRed);
  c.LineTo(10 + w, 30);  // from the end of the text
  EXPECT_EQ(c.Pixel(10 + w, 5), kRed);
}

TEST(ImageCanvas, ReportsOneChangePerBurstOfDrawing) {
  ImageCanvas c(30, 30);
  int notices = 0;
  c.SetChangedCallback([&] { ++notices; });
  for (int i = 0; i < 100; ++i) {
    c.MoveTo(0, i % 30);
    c.LineTo(29, i % 30);
  }
  EXPECT_EQ(notices, 1);
  EXPECT_TRUE(c.TakeChanged());
  EXPECT_FALSE(c.TakeChanged());
  c.SetPenColor(kRed);  // setting the pen draws nothing
  EXPECT_EQ(notices, 1);
  c.Ellipse(1, 1, 9, 9);
  EXPECT_EQ(notices, 2);
}

TEST(PaintBox, ShowsTheImageAndDrawingsMadeOutsideThePaintHandler) {
  PaintBox box(40, 40);
  int paints = 0;
  box.onPaint = [&](Canvas& c) {
    ++paints;
    c.SetPenColor(kBlack);
    c.SetBrushColor(kWhite);
    c.Rectangle(0, 0, 40, 40);
  };
  box.show();
  QApplication::processEvents();
  EXPECT_EQ(paints, 1);
  // A routine drawing while it computes, not in a paint event.
  box.Canvas().SetPenColor(kRed);
  box.Canvas().MoveTo(5, 20);
  box.Canvas().LineTo(35, 20);
  QApplication::processEvents();
  const QImage shown = box.grab().toImage();
  EXPECT_EQ(QColor(shown.pixel(20, 20)), QColor(255, 0, 0));
  EXPECT_EQ(QColor(shown.pixel(0, 0)), QColor(0, 0, 0));
  EXPECT_EQ(paints, 1);  // the handler is not run again by an ordinary repaint
  box.Repaint();
  EXPECT_EQ(paints, 2);
  EXPECT_EQ(box.Canvas().Pixel(20, 20), kWhite);
}

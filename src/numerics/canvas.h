#pragma once
// A drawing surface with exactly the operations the windows need. Coordinates are
// pixels, y growing downwards. Colours are 24-bit values $BBGGRR (red in the low
// byte): 0x0000FF is red, 0xFF0000 blue. Rectangles and ellipses take their bounding
// box from (x1, y1) to (x2, y2), the right and bottom edges excluded.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quor::numerics {

using Color = std::uint32_t;

inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kRed = 0x0000FF;
inline constexpr Color kBlue = 0xFF0000;
inline constexpr Color kGreen = 0x008000;
inline constexpr Color kLime = 0x00FF00;
inline constexpr Color kGray = 0x808080;
inline constexpr Color kAqua = 0xFFFF00;
inline constexpr Color kYellow = 0x00FFFF;
inline constexpr Color kSilver = 0xC0C0C0;

enum class PenStyle { Solid, Dot };
enum class BrushStyle { Solid, Clear };

struct CanvasPoint {
  int x = 0;
  int y = 0;
  bool operator==(const CanvasPoint&) const = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;

  virtual void SetPenColor(Color c) = 0;
  virtual void SetPenWidth(int w) = 0;
  virtual void SetPenStyle(PenStyle s) = 0;
  virtual void SetBrushColor(Color c) = 0;
  virtual void SetBrushStyle(BrushStyle s) = 0;
  // The colour of the text of TextOut (black at first).
  virtual void SetFontColor(Color c) = 0;

  // Framed with the pen, filled with the brush.
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  // Filled with the brush, no frame.
  virtual void FillRect(int x1, int y1, int x2, int y2) = 0;
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  // Lines from the pen position through the points in order; the pen ends at the
  // last one. The same picture as LineTo on each point; adapters draw it in one go.
  virtual void PolylineTo(const CanvasPoint* pts, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) LineTo(pts[i].x, pts[i].y);
  }
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  // Arc of the ellipse inscribed in the box, counter-clockwise from the direction of
  // (x3, y3) to the direction of (x4, y4), both seen from the box centre. Equal
  // directions draw the whole ellipse.
  virtual void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  virtual void TextOut(int x, int y, std::string_view text) = 0;
  virtual int TextWidth(std::string_view text) = 0;
};

// Draws nothing; keeps the size so that screen mappings come out as on the window.
class NullCanvas : public Canvas {
 public:
  NullCanvas(int width, int height) : width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetPenColor(Color) override {}
  void SetPenWidth(int) override {}
  void SetPenStyle(PenStyle) override {}
  void SetBrushColor(Color) override {}
  void SetBrushStyle(BrushStyle) override {}
  void SetFontColor(Color) override {}
  void Rectangle(int, int, int, int) override {}
  void FillRect(int, int, int, int) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void PolylineTo(const CanvasPoint*, std::size_t) override {}
  void Ellipse(int, int, int, int) override {}
  void Arc(int, int, int, int, int, int, int, int) override {}
  void TextOut(int, int, std::string_view) override {}
  int TextWidth(std::string_view text) override { return 6 * static_cast<int>(text.size()); }

 private:
  int width_;
  int height_;
};

// Records every call as one text line ("LineTo 10 20", "PenColor 0000FF", ...), for
// tests that check what a routine drew.
class RecordingCanvas : public Canvas {
 public:
  RecordingCanvas(int width, int height) : width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetPenColor(Color c) override;
  void SetPenWidth(int w) override;
  void SetPenStyle(PenStyle s) override;
  void SetBrushColor(Color c) override;
  void SetBrushStyle(BrushStyle s) override;
  void SetFontColor(Color c) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void FillRect(int x1, int y1, int x2, int y2) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void TextOut(int x, int y, std::string_view text) override;
  int TextWidth(std::string_view text) override { return 6 * static_cast<int>(text.size()); }

  std::vector<std::string> calls;

 private:
  int width_;
  int height_;
};

}  // namespace quor::numerics

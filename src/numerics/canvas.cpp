#include "numerics/canvas.h"

#include <cstdio>

namespace quor::numerics {

namespace {
std::string Join(const char* name, std::initializer_list<int> v) {
  std::string s = name;
  for (int x : v) {
    s.push_back(' ');
    s.append(std::to_string(x));
  }
  return s;
}
std::string Hex(const char* name, Color c) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%s %06X", name, static_cast<unsigned>(c & 0xFFFFFF));
  return buf;
}
}  // namespace

void RecordingCanvas::SetPenColor(Color c) { calls.push_back(Hex("PenColor", c)); }
void RecordingCanvas::SetPenWidth(int w) { calls.push_back(Join("PenWidth", {w})); }
void RecordingCanvas::SetPenStyle(PenStyle s) {
  calls.push_back(s == PenStyle::Solid ? "PenStyle Solid" : "PenStyle Dot");
}
void RecordingCanvas::SetBrushColor(Color c) { calls.push_back(Hex("BrushColor", c)); }
void RecordingCanvas::SetBrushStyle(BrushStyle s) {
  calls.push_back(s == BrushStyle::Solid ? "BrushStyle Solid" : "BrushStyle Clear");
}
void RecordingCanvas::SetFontColor(Color c) { calls.push_back(Hex("FontColor", c)); }
void RecordingCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  calls.push_back(Join("Rectangle", {x1, y1, x2, y2}));
}
void RecordingCanvas::FillRect(int x1, int y1, int x2, int y2) {
  calls.push_back(Join("FillRect", {x1, y1, x2, y2}));
}
void RecordingCanvas::MoveTo(int x, int y) { calls.push_back(Join("MoveTo", {x, y})); }
void RecordingCanvas::LineTo(int x, int y) { calls.push_back(Join("LineTo", {x, y})); }
void RecordingCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  calls.push_back(Join("Ellipse", {x1, y1, x2, y2}));
}
void RecordingCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  calls.push_back(Join("Arc", {x1, y1, x2, y2, x3, y3, x4, y4}));
}
void RecordingCanvas::TextOut(int x, int y, std::string_view text) {
  std::string s = Join("TextOut", {x, y});
  s.push_back(' ');
  s.append(text);
  calls.push_back(s);
}

}  // namespace quor::numerics

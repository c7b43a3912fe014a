#pragma once
// Everything a transformer routine works with besides its arguments: the coil pair
// and results, the Report, the drawing surface with its mapping, the run flag of the
// long calculations and the caption of the Calculate button that doubles as Stop.
#include <functional>
#include <string>
#include <string_view>

#include "numerics/canvas.h"
#include "numerics/event_pump.h"
#include "numerics/report.h"
#include "transformer/coil_pair.h"
#include "transformer/drawing.h"

inline constexpr int kArrangementSize = 297;  // drawing area of the main window

struct TransformerContext {
  TransformerContext(ReportSink& r, Canvas& c) : report(&r), canvas(&c) {}

  CoilPair coils;
  ScreenMapping map;
  bool StopFlag = true;        // cleared by a failure or by a Stop click
  // A Stop click can end the true-spiral sums (the main window). Where it cannot
  // (quor-cli, the tests) their work is bounded before they start.
  bool stoppable = false;
  std::string calcCaption = "Calculate";

  ReportSink* report;
  Canvas* canvas;
  EventPump pump;              // called once per outer step of the true-spiral sums
  // Serves the window at once, unlike a pump that passes on only some of its calls;
  // called after the last step of a true-spiral sum. May be left empty.
  EventPump pumpNow;
  std::function<void(std::string_view)> onCaptionChanged;  // mirrors calcCaption

  void Line(std::string_view s) { ReportLine(*report, s); }
  void SetCalcCaption(std::string_view caption) {
    calcCaption = std::string(caption);
    if (onCaptionChanged) onCaptionChanged(caption);
  }
};

#pragma once
// Everything a transformer routine works with besides its arguments: the coil pair
// and results, the Report, the drawing surface with its mapping, the run flag of the
// long calculations and whether a stoppable sum is running (the window shows Stop on
// its Calculate button meanwhile).
#include <functional>
#include <string>
#include <string_view>

#include "numerics/canvas.h"
#include "numerics/command.h"
#include "numerics/event_pump.h"
#include "numerics/report.h"
#include "transformer/coil_pair.h"
#include "transformer/drawing.h"

namespace quor::transformer {
using namespace quor::numerics;

inline constexpr int kArrangementSize = 297;  // drawing area of the main window

struct TransformerContext {
  TransformerContext(ReportSink& r, Canvas& c) : report(&r), canvas(&c) {}
  // A command's context: its Report, its drawing area (a blank one of the window's
  // size when the environment has none) and the mapping of the last paint, its pumps,
  // its stop request and the listener of the running state.
  explicit TransformerContext(CommandEnv& env)
      : stoppable(static_cast<bool>(env.stopRequested)),
        report(&env.Report()),
        canvas(env.canvas ? env.canvas : &blank_),
        pump(env.pump),
        pumpNow(env.pumpNow),
        stopRequested(env.stopRequested),
        onRunningChanged(env.onRunningChanged) {
    if (env.mapping) map = *env.mapping;
  }
  TransformerContext(const TransformerContext&) = delete;
  TransformerContext& operator=(const TransformerContext&) = delete;

  CoilPair coils;
  ScreenMapping map;
  bool StopFlag = true;        // cleared by a failure or by a stop request
  // A stop request can end the true-spiral sums (the main window's Stop). Where none
  // can (quor-cli, the tests) their work is bounded before they start.
  bool stoppable = false;

  ReportSink* report;
  Canvas* canvas;
  EventPump pump;              // called once per outer step of the true-spiral sums
  // Serves the window at once, unlike a pump that passes on only some of its calls;
  // called after the last step of a true-spiral sum. May be left empty.
  EventPump pumpNow;
  // Asked after every pump; true stops the running sum ("Interrupted").
  std::function<bool()> stopRequested;
  // Told when Running() changes.
  std::function<void(bool running)> onRunningChanged;

  // Where the routines leave the numbers their lines print, in SI units (not kept
  // when null), and the coil whose self-inductance is being summed (1 the primary, 2
  // the secondary): its digit ends the keys of its values ("n2", "gmd2").
  Result* values = nullptr;
  int coil = 1;

  void Line(std::string_view s) { ReportLine(*report, s); }
  void Value(const std::string& key, const char* unit, Extended v) {
    if (values) values->Add(key, unit, v);
  }
  // stem + the coil's digit + tail: CoilKey("L", "_terms") is "L1_terms" for the primary.
  std::string CoilKey(const char* stem, const char* tail = "") const {
    return stem + std::to_string(coil) + tail;
  }

  // A stoppable sum has started and the command has not ended yet.
  bool Running() const { return running_; }
  void SetRunning(bool running) {
    if (running == running_) return;
    running_ = running;
    if (onRunningChanged) onRunningChanged(running);
  }
  bool StopRequested() const { return stopRequested && stopRequested(); }
  // Between two rows of a ring sum: a stop asked for meanwhile ends the sum with
  // "Interrupted" (StopFlag cleared) and returns true.
  bool StoppedBetweenRows() {
    if (!StopRequested()) return false;
    StopFlag = false;
    Line("Interrupted");
    return true;
  }

 private:
  NullCanvas blank_{kArrangementSize, kArrangementSize};
  bool running_ = false;
};

}  // namespace quor::transformer

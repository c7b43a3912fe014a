#pragma once
// The general-structure window's work as one object: the description, the tables of
// its last parse, the view window (kept between commands, set by each parse that
// finishes), the transform of the last drawing and the results of the last
// calculation. View, Calculate, Plot and Probe are the window's buttons and clicks;
// the window, quor-cli and the tests all run them through a session.
#include <string>
#include <vector>

#include "electrostatics/structure_capacitance.h"
#include "electrostatics/structure_description.h"
#include "electrostatics/structure_plot.h"
#include "electrostatics/structure_view.h"
#include "numerics/canvas.h"
#include "numerics/command.h"
#include "numerics/fields.h"
#include "numerics/screen_mapping.h"

namespace quor::electrostatics {
using namespace quor::numerics;

class StructureSession {
 public:
  // Starts with the sample description, not yet parsed.
  StructureSession();

  // A new description (the window's text, line by line): the parse and the results
  // of the old one are forgotten; the view window stays until a parse finishes.
  void SetDescription(std::vector<std::string> lines);
  const std::vector<std::string>& Lines() const { return lines_; }

  // Reads the description into the tables unless they already reflect it, messages to
  // msg. True when the parse reached the end. A short palette file ends it with
  // FileError; the tables stay as they were and the next call tries again.
  bool Parse(ReportSink& msg);
  // View: Parse, then the structure drawn on canvas.
  void View(Canvas& canvas, ReportSink& msg);
  // Calculate: View on env.canvas (a blank area of the window's size without one),
  // then the calculation with the rings drawn as they are made, every line to
  // env.Report(), the breakdown field and the threads of env. Refused, on the line
  // that says why, when the parse stopped or the structure cannot be calculated (too
  // many rings, none, coincident rings, a matrix that cannot be inverted); the results
  // of the last calculation that completed then stay.
  Result Calculate(bool listFields, CommandEnv& env);
  // The zoom and pan buttons: the view window changed and the structure drawn again.
  void ChangeView(ViewChange change, Canvas& canvas);

  // The plot the window's plot fields ask for (CBplotar, CBrapido, CBlegend, Eemax,
  // CBcontours, CBaxes; an empty Eemax takes the field scale of the last calculation).
  PlotRequest PlotRequestOf(const FieldValues& fields) const;
  // Plot: the colour map of the last calculation over canvas, through the transform of
  // the last drawing, then the outlines of the elements and the contours and axes the
  // request asks for. False when stopped. A fault ends it with ArithmeticFault.
  bool Plot(const PlotRequest& request, Canvas& canvas, const PlotControl& control) const;
  // Probe: the potential and field at pixel (X, Y) as one line to msg, after a
  // calculation of the description shown; nothing otherwise. With mark, the point is
  // marked there by a small cross once its line is written. With values, the line's
  // numbers are added as "probe<number>_r", ... (StructureValueDefs).
  void Probe(int X, int Y, ReportSink& msg, Canvas* mark = nullptr, Result* values = nullptr,
             int number = 1) const;
  // The same at a pixel or at a point given in metres (r, z), probed exactly there and
  // marked at the pixel nearest to it.
  void Probe(const ProbePoint& point, ReportSink& msg, Canvas* mark = nullptr,
             Result* values = nullptr, int number = 1) const;

  bool Parsed() const { return parsed_; }
  bool Calculated() const { return results_.completed; }
  const StructureDescription& Description() const { return description_; }
  const ViewWindow& Window() const { return window_; }
  const ScreenMapping& ViewTransform() const { return view_; }
  const StructureResults& Results() const { return results_; }

 private:
  void Draw(Canvas& canvas);

  std::vector<std::string> lines_;
  StructureDescription description_;
  bool parsed_ = false;
  ViewWindow window_;
  ScreenMapping view_;
  StructureResults results_;
};

// The structure window's fields as one command takes them: the description Mlista
// (free text, the sample by default), CBlistar and the plot's fields.
const std::vector<FieldDef>& StructureWindowFieldDefs();
// The values StructureCommand returns.
const std::vector<ValueDef>& StructureValueDefs();

// Sets Mlista to the description a .cap file holds (quor-cli's --cap FILE). Throws
// FileError naming the file.
void LoadDescriptionField(const std::string& path, FieldValues& fields);

// quor-cli's structure: Calculate of the description in Mlista; with env.canvas the
// colour plot over the drawing (as the window shows it after Plot); then one probe
// line per point of env.probes. Nothing is plotted or probed when the calculation was
// refused; a plot refused by its fields (an unknown quantity, a field scale that is
// not positive) ends the command Refused after its line and the probe lines.
Result StructureCommand(const FieldValues& fields, CommandEnv& env);

}  // namespace quor::electrostatics

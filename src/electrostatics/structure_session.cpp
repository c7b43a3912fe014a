#include "electrostatics/structure_session.h"

#include <utility>

#include "electrostatics/plot_overlays.h"
#include "electrostatics/structure_probe.h"

namespace quor::electrostatics {
using namespace quor::numerics;

namespace {

// The window's text is cut into lines at each line feed, as the window's editor does.
std::vector<std::string> SplitAtLineFeeds(const std::string& text) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      return lines;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}

std::string JoinWithLineFeeds(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  return text;
}

}  // namespace

StructureSession::StructureSession() : lines_(StructureSampleLines()) {}

void StructureSession::SetDescription(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  parsed_ = false;
  results_ = StructureResults{};
}

bool StructureSession::Parse(ReportSink& msg) {
  if (parsed_) return true;
  description_ = ParseDescription(lines_, msg);
  parsed_ = description_.Parsed();
  if (parsed_) window_ = description_.view;
  return parsed_;
}

void StructureSession::Draw(Canvas& canvas) {
  view_ = DrawStructureView(canvas, window_, description_.elements);
}

void StructureSession::View(Canvas& canvas, ReportSink& msg) {
  Parse(msg);
  Draw(canvas);
}

Result StructureSession::Calculate(bool listFields, CommandEnv& env) {
  LastLineReport msg(env.Report());
  NullCanvas blank(kStructureAreaSize, kStructureAreaSize);
  Canvas& canvas = env.canvas ? *env.canvas : blank;
  View(canvas, msg);
  // A parse stopped by an error leaves half-read tables: nothing is computed from
  // them, the message stands.
  if (!parsed_) return Result::Refused(msg.last);
  const StructureDrawing drawing{&canvas, view_};
  Result values;
  StructureResults results = CalculateStructure(description_, listFields, env.breakdown, msg,
                                                &drawing, env.workers, &values);
  if (!results.completed) return Result::Refused(msg.last);
  results_ = std::move(results);
  return values;
}

void StructureSession::ChangeView(ViewChange change, Canvas& canvas) {
  electrostatics::ChangeView(window_, change);
  Draw(canvas);
}

PlotRequest StructureSession::PlotRequestOf(const FieldValues& fields) const {
  const std::vector<FieldDef>& defs = StructureWindowFieldDefs();
  std::string eemax = FieldText(fields, defs, "Eemax");
  if (eemax.empty()) eemax = results_.EemaxText;
  PlotRequest request = ReadPlotRequest(FieldText(fields, defs, "CBplotar"), eemax,
                                       FieldChecked(fields, defs, "CBrapido"),
                                       FieldChecked(fields, defs, "CBlegend"));
  request.contours = FieldChecked(fields, defs, "CBcontours");
  request.axes = FieldChecked(fields, defs, "CBaxes");
  return request;
}

bool StructureSession::Plot(const PlotRequest& request, Canvas& canvas,
                            const PlotControl& control) const {
  const FieldPlot plot(results_.rings, results_.eps0, request.quantity,
                       PlotScaleOf(request.quantity, description_.VMin, description_.VMax,
                                   request.fieldScale),
                       description_.palette, view_, canvas.Width(), canvas.Height(),
                       request.fast);
  PlotOverlays overlays;
  overlays.contours = request.contours;
  overlays.axes = request.axes;
  overlays.outlines = &description_.elements;
  return PlotField(canvas, plot, request.legend, control, overlays);
}

void StructureSession::Probe(int X, int Y, ReportSink& msg, Canvas* mark, Result* values,
                             int number) const {
  Probe(ProbePoint(X, Y), msg, mark, values, number);
}

void StructureSession::Probe(const ProbePoint& point, ReportSink& msg, Canvas* mark,
                             Result* values, int number) const {
  if (!Calculated()) return;
  const StructureProbe p = point.inMetres
                               ? ProbeAt(results_.rings, results_.eps0, point.r, point.z)
                               : ProbeAt(results_.rings, results_.eps0, view_, point.x, point.y);
  ReportLine(msg, ProbeLine(p));
  if (values) {
    const std::string prefix = "probe" + std::to_string(number) + "_";
    values->Add(prefix + "r", "m", p.r);
    values->Add(prefix + "z", "m", p.z);
    values->Add(prefix + "V", "V", p.V);
    values->Add(prefix + "Er", "V/m", p.Er);
    values->Add(prefix + "Ez", "V/m", p.Ez);
    values->Add(prefix + "E", "V/m", p.E);
  }
  if (mark)
    DrawProbeMark(*mark, point.inMetres ? ToScreenX(view_, static_cast<double>(p.r)) : point.x,
                  point.inMetres ? ToScreenY(view_, static_cast<double>(p.z)) : point.y);
}

const std::vector<FieldDef>& StructureWindowFieldDefs() {
  static const std::vector<FieldDef> defs = [] {
    std::vector<FieldDef> all = {
        {"Mlista", "Description", JoinWithLineFeeds(StructureSampleLines()),
         "The structure description, one line per element or command", false, FieldKind::Text},
    };
    for (const FieldDef& f : StructureFieldDefs()) all.push_back(f);
    for (const FieldDef& f : StructurePlotFieldDefs()) all.push_back(f);
    return all;
  }();
  return defs;
}

const std::vector<ValueDef>& StructureValueDefs() {
  // Lists run over the conductors in the order of their "Conductor m:" lines, matrices
  // over pairs of them; per-ring lists over the rings, numbered as listed.
  static const std::vector<ValueDef> defs = {
      {"C_matrix", "F", "capacitance matrix k of the conductors (k[m,n] lines)"},
      {"C_total", "F", "total capacitance (all conductors together to infinity)"},
      {"C_between", "F", "capacitance between each pair of conductors, -k[m,n] (0 diagonal)"},
      {"C_infinity", "F", "capacitance of each conductor to infinity (row sum of k)"},
      {"V", "V", "potential of each conductor (.V commands)"},
      {"Q", "C", "charge of each conductor at those potentials"},
      {"F", "N", "axial force on each conductor"},
      {"E_all_min", "1/m", "all conductors at 1 V: minimum surface field per volt"},
      {"E_all_min_ring", "1", "the ring where it is"},
      {"E_all_max", "1/m", "all conductors at 1 V: maximum surface field per volt"},
      {"E_all_max_ring", "1", "the ring where it is"},
      {"Vb_all", "V", "all conductors at one potential: breakdown voltage"},
      {"E_single_min", "1/m",
       "each conductor at 1 V, the others grounded: minimum field per volt (0: no rings)"},
      {"E_single_min_ring", "1", "the ring where it is"},
      {"E_single_max", "1/m", "the same, maximum field per volt"},
      {"E_single_max_ring", "1", "the ring where it is"},
      {"Vb_single", "V", "the same, breakdown voltage (0: no rings)"},
      {"E_min", "V/m", "at the potentials given: minimum surface field of each conductor"},
      {"E_min_ring", "1", "the ring where it is"},
      {"E_max", "V/m", "at the potentials given: maximum surface field of each conductor"},
      {"E_max_ring", "1", "the ring where it is"},
      {"Vb_differential", "V", "differential breakdown voltage of each conductor (V and -V)"},
      {"E_all_rings", "1/m", "List surface fields: each ring's field, all at 1 V"},
      {"E_single_rings", "1/m", "List surface fields: each ring's field, its conductor at 1 V"},
      {"E_rings", "V/m", "List surface fields: each ring's field at the potentials given"},
      {"probeN_r", "m", "probe N (1, 2, ... in the order given): radius of the point"},
      {"probeN_z", "m", "probe N: height of the point"},
      {"probeN_V", "V", "probe N: potential"},
      {"probeN_Er", "V/m", "probe N: radial field"},
      {"probeN_Ez", "V/m", "probe N: axial field"},
      {"probeN_E", "V/m", "probe N: magnitude of the field"},
  };
  return defs;
}

void LoadDescriptionField(const std::string& path, FieldValues& fields) {
  fields["Mlista"] = JoinWithLineFeeds(LoadDescriptionFile(path));
}

Result StructureCommand(const FieldValues& fields, CommandEnv& env) {
  const std::vector<FieldDef>& defs = StructureWindowFieldDefs();
  StructureSession session;
  session.SetDescription(SplitAtLineFeeds(FieldText(fields, defs, "Mlista")));
  Result result = session.Calculate(FieldChecked(fields, defs, "CBlistar"), env);
  if (!result.Ok()) return result;
  if (env.canvas) {
    const PlotRequest request = session.PlotRequestOf(fields);
    if (!request.error.empty()) {
      // The calculation's values stand; only the plot was refused.
      Result refused = Refusal(env.Report(), request.error);
      refused.values = std::move(result.values);
      result = std::move(refused);
    } else {
      PlotControl control;
      control.workers = env.workers < 0 ? PlotWorkers() : static_cast<unsigned>(env.workers);
      control.pump = env.pump;
      control.stopRequested = env.stopRequested;
      session.Plot(request, *env.canvas, control);
    }
  }
  int number = 0;
  for (const ProbePoint& p : env.probes)
    session.Probe(p, env.Report(), env.canvas, &result, ++number);
  return result;
}

}  // namespace quor::electrostatics

#pragma once
// A band of a torus surface, the part of the tube between two angles measured around
// its cross-section, replaced by coaxial thin rings on a circle of the cross-section.
// The rings' potential coefficients give, at 1 V, the capacitance and the field at
// each ring; after a calculation the probe measures potential and field at any point
// of the drawing, with the exact values of the complete toroid beside them.
//
// Angles run in the cross-section from the outer equator (0 at the largest radius)
// counter-clockwise to the top (90 degrees).
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "electrostatics/breakdown_field.h"
#include "numerics/canvas.h"
#include "numerics/command.h"
#include "numerics/extended.h"
#include "numerics/fields.h"
#include "numerics/report.h"

namespace quor::electrostatics {
using namespace quor::numerics;

inline constexpr int kPartialMaxRings = 200;
// The drawing area PBpartial.
inline constexpr int kPBpartialWidth = 577;
inline constexpr int kPBpartialHeight = 281;

// Epmajor, Epminor, Eiangle, Efangle, Enrings, Efracao, Ealfa, Ea, Eb, CBlistar,
// CBsalvar with their labels and default texts.
const std::vector<FieldDef>& PartialFieldDefs();
// The values PartialCommand returns.
const std::vector<ValueDef>& PartialValueDefs();

// What the window keeps between its commands.
struct PartialState {
  // The fields as last read.
  Extended D = 0;       // outer diameter of the toroid
  Extended d = 0;       // tube diameter
  Extended thetaA = 0;  // where the band begins, radians
  Extended thetaB = 0;  // where it ends, radians
  std::int32_t n = 0;   // number of rings
  Extended f = 0;       // percent of the way from amin to the tube radius
  Extended alfa = 0;    // divisor of the half chord giving the wire radius
  Extended A = 0, B = 0;  // wire radius factors: v = rr (B + A rr/rho)
  bool CBlistar = false;
  bool CBsalvar = false;

  // Derived geometry. With n < 1 the step is undefined: RingsDefined is false and
  // dtheta, amin, a, rr, theta1 stay 0.
  bool RingsDefined = false;
  Extended a0 = 0;      // tube radius
  Extended R = 0;       // radius of the circle through the tube centres
  Extended dtheta = 0;  // angular step of the rings, radians
  Extended amin = 0;    // radius of the ring circle for f = 0
  Extended a = 0;       // radius of the circle of the ring centres
  Extended rr = 0;      // nominal wire radius
  Extended theta1 = 0;  // angle of the first ring

  // Scale of the last drawing, shared with the probe: pixel = S*x + O.
  bool ScaleDefined = false;
  Extended SX = 1, SY = -1, OX = 0, OY = 0;

  // The rings and charges (coulombs at 1 V) of the last successful calculation.
  std::vector<Extended> rho, z, q;
  Extended eps0 = 0;
  // Set by a successful calculation, cleared by every reading of the fields: the
  // probe answers only while the drawing shows the rings the charges belong to.
  bool PartialSolved = false;
};

// Ring i (1-based) of the current geometry.
struct PartialRing {
  Extended theta = 0, rho = 0, z = 0, v = 0;
};
PartialRing PartialRingAt(const PartialState& s, int i);

// Reads the nine fields and the two switches, derives the geometry, clears
// PartialSolved.
void ReadPartialInputs(const FieldValues& fields, PartialState& s);

int PartialScreenX(const PartialState& s, Extended x);
int PartialScreenY(const PartialState& s, Extended z);

// The cross-section with the tube and the rings, scaled to the canvas; sets the scale.
void DrawPartial(PartialState& s, Canvas& canvas);
// A paint of the window's drawing: the fields, then the drawing.
void PaintPartial(const FieldValues& fields, PartialState& s, Canvas& canvas);

// Calculate, keeping in s what the probe needs: the band drawn on env.canvas (a blank
// one of the window's size without it), the capacitance, the fields and the breakdown
// voltage for env.breakdown. The ring table goes to "torus<n>.tab" in env.directory
// when asked for; a table that cannot be written ends it with FileError. Refused: too
// many or too few rings, rings that coincide or a matrix that cannot be inverted.
Result CalculatePartial(const FieldValues& fields, PartialState& s, CommandEnv& env);

// The probe at pixel (X, Y): nothing unless PartialSolved. Clears the fault flags and
// checks them before every line (a click is a command of its own); a fault ends it
// with ArithmeticFault. With values, the numbers of its lines are added under the keys
// "probe<number>_...".
void ProbePartial(const PartialState& s, int X, int Y, ReportSink& report,
                  Result* values = nullptr, int number = 1);
// The same at the point (r, z) of the plane, in metres, whatever the drawing's scale.
void ProbePartialAt(const PartialState& s, Extended r, Extended z, ReportSink& report,
                    Result* values = nullptr, int number = 1);

// Exact potential and fields of a complete toroid (outer diameter D, tube diameter d)
// at 1 V at the point (r, z), by the series of toroidal Legendre functions.
struct ExactToroidPoint {
  bool defined = false;  // false on the axis and on the focal circle
  Extended V = 0;        // potential, V per V
  Extended Eeta = 0;     // field normal to the surfaces eta = constant, V/m per V
  Extended Es = 0;       // surface field (meaningful on the tube surface), V/m per V
  std::int32_t terms = 0;  // the last n summed
};
ExactToroidPoint ExactToroidAt(Extended D, Extended d, Extended r, Extended z);

// The command: CalculatePartial on fresh state, then a click at each pixel of
// env.probes, pixel or point in metres (which answers only after a calculation that
// completed).
Result PartialCommand(const FieldValues& fields, CommandEnv& env);

}  // namespace quor::electrostatics

#pragma once
// Classical closed-form and series inductance formulas, listed beside the exact
// ring-sum results for comparison (Wheeler, Lundin, Lorenz, Snow, Kirchhoff, single
// loops, solenoid-and-circle and two current sheets). Results in henries.
#include "numerics/extended.h"
#include "numerics/report.h"
#include "transformer/coil_pair.h"

namespace quor::transformer {
using namespace quor::numerics;

Extended WheelerInductance(Extended N, Extended h, Extended rmin, Extended rmax);
Extended WheelerSolenoid(Extended N, Extended h, Extended r);
Extended WheelerSpiral(Extended N, Extended rmin, Extended rmax);
Extended LundinInductance(Extended N, Extended h, Extended r);
Extended LundinF1(Extended x);
Extended LundinF2(Extended x);
Extended LorenzInductance(Extended N, Extended h, Extended r);
// Writes "The coil can't be flat" (h = 0, result 1) or "Turns rounded to n".
Extended SnowInductance(ReportSink& report, Extended r, Extended h, Extended wd, Extended N);
// Writes "Turns rounded to n" when N is not whole.
Extended KirchhoffInductance(ReportSink& report, Extended r, Extended h, Extended wd, Extended N);

Extended GroverOneTurn(Extended r, Extended wd);
Extended MaxwellOneTurn(Extended r, Extended wd);
Extended AIPOneTurn(Extended r, Extended wd);
Extended RussellOneTurn(Extended r, Extended wd);

// M between a current sheet of radius r1 with n turns over the signed length len and
// a coaxial circle of radius r2 in the plane of one end of the sheet.
Extended JonesEndCircleMutual(Extended r1, Extended r2, Extended len, Extended n);
Extended GarrettEndCircleMutual(Extended r1, Extended r2, Extended len, Extended n);
Extended SnowEndCircleMutual(Extended r1, Extended r2, Extended len, Extended n);

// Two coaxial current-sheet solenoids (Snow); the term reads rmin1 and rmin2.
Extended SnowSheetTerm(const CoilPair& c, Extended z);
Extended SnowSheetMutual(const CoilPair& c);
// Two coaxial circles, times N1.
Extended MaxwellMutualOneTurn(const CoilPair& c);
// A flat coil of N1 <= 1 turn against a circle.
Extended SnowMutual61(const CoilPair& c);

}  // namespace quor::transformer

#pragma once
// Self-capacitance of a single-layer solenoid by Medhurst's empirical formula, and the
// self-resonance of each coil of the main window taken alone, with its inductance by
// Maxwell's method over circular turns.
#include <string>
#include <vector>

#include "numerics/fields.h"
#include "numerics/report.h"
#include "transformer/context.h"

// The self-capacitance (farads) of a solenoid of height h and radius rmin (= rmax).
// A coil of rmax != rmin, or a flat one (h = 0), is outside the formula: the line
// "The coil must be solenoidal.", ctx.StopFlag false and 0. Otherwise StopFlag true.
Extended MedhurstCapacitance(TransformerContext& ctx, Extended h, Extended rmax, Extended rmin);

// "Self capacitance and resonance": reads the coils from the main window's fields into
// ctx.coils and writes, under "Primary:" and "Secondary:", each solenoid's length,
// radius, Medhurst capacitance, inductance and self-resonance frequency. The turns
// are drawn with the mapping already in ctx.map. An arithmetic fault (a negative
// height or radius, a coil of no turns) ends it with ArithmeticFault after the lines
// written so far.
void Medhurstcapacitances1Click(TransformerContext& ctx, const FieldValues& fields);

// The command as a plain function of the main window's field texts (missing names take
// the form's defaults), drawing on a blank canvas.
void SelfCapacitanceCommand(const FieldValues& fields, ReportSink& report);
std::vector<std::string> SelfCapacitanceCommand(const FieldValues& fields);

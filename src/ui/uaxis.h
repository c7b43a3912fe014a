#pragma once
// General conducting structures with axial symmetry described by lines and arcs:
// capacitance matrix, charges, forces, surface fields and colour plots.
#include "electrostatics/breakdown_field.h"
#include "ui/form.h"

class TFcacal : public SecondaryForm {
  Q_OBJECT
 public:
  TFcacal(ReportSink& report, BreakdownField& breakdown, QWidget* parent = nullptr);

  static constexpr int kWidth = 900;
  static constexpr int kHeight = 640;

 private:
  BreakdownField* breakdown_;  // the program-wide setting, read by Calculate
};

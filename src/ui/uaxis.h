#pragma once
// General conducting structures with axial symmetry described by lines and arcs:
// capacitance matrix, charges, forces, surface fields and colour plots.
#include "ui/form.h"

class TFcacal : public SecondaryForm {
  Q_OBJECT
 public:
  explicit TFcacal(ReportSink& report, QWidget* parent = nullptr);

  static constexpr int kWidth = 900;
  static constexpr int kHeight = 640;
};

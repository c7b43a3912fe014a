#pragma once
// Straight round wires (self and mutual inductance) and the flat square spiral
// inductor.
#include "ui/form.h"

class TFstraight : public SecondaryForm {
  Q_OBJECT
 public:
  explicit TFstraight(ReportSink& report, QWidget* parent = nullptr);

  static constexpr int kWidth = 720;
  static constexpr int kHeight = 560;
};

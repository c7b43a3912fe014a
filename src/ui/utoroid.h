#pragma once
// Exact capacitance and maximum field of a toroid by toroidal Legendre functions,
// and the capacitances of other shapes.
#include "ui/form.h"

class TFtoroid : public SecondaryForm {
  Q_OBJECT
 public:
  explicit TFtoroid(ReportSink& report, QWidget* parent = nullptr);

  static constexpr int kWidth = 460;
  static constexpr int kHeight = 340;
};

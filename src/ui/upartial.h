#pragma once
// A band of a torus surface replaced by coaxial thin rings: capacitance and
// surface field.
#include "ui/form.h"

class TFpartial : public SecondaryForm {
  Q_OBJECT
 public:
  explicit TFpartial(ReportSink& report, QWidget* parent = nullptr);

  static constexpr int kWidth = 600;
  static constexpr int kHeight = 520;
};

#pragma once
// The breakdown field of air used for every breakdown voltage.
#include "ui/form.h"

class TFparametros : public SecondaryForm {
  Q_OBJECT
 public:
  explicit TFparametros(ReportSink& report, QWidget* parent = nullptr);

  static constexpr int kWidth = 300;
  static constexpr int kHeight = 120;
};

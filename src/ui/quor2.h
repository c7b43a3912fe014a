#pragma once
// Tables of the complete and incomplete elliptic integrals, comparing the
// arithmetic-geometric mean with Simpson's rule and the series.
#include "ui/form.h"

class TForm2 : public SecondaryForm {
  Q_OBJECT
 public:
  explicit TForm2(ReportSink& report, QWidget* parent = nullptr);

  static constexpr int kWidth = 560;
  static constexpr int kHeight = 420;
};

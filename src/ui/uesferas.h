#pragma once
// Two conducting spheres: mutual capacitance by bispherical images, maximum field
// by Russell's series, capacitance matrix.
#include "ui/form.h"

class TFesferas : public SecondaryForm {
  Q_OBJECT
 public:
  explicit TFesferas(ReportSink& report, QWidget* parent = nullptr);

  static constexpr int kWidth = 420;
  static constexpr int kHeight = 240;
};

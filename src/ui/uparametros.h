#pragma once
// The breakdown field of air used for every breakdown voltage.
#include "electrostatics/breakdown_field.h"
#include "ui/form.h"
#include "numerics/library_namespaces.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TFparametros : public SecondaryForm {
  Q_OBJECT
 public:
  TFparametros(ReportSink& report, BreakdownField& breakdown, QWidget* parent = nullptr);

  static constexpr int kWidth = 300;
  static constexpr int kHeight = 120;

  QLabel* Label1;
  QLineEdit* Eemax;
  QPushButton* Bapply;

 public slots:
  // Emax from the field, its line in the Report, and the window hides; a malformed
  // number is refused and the window stays.
  void BapplyClick();

 private:
  BreakdownField* breakdown_;
};

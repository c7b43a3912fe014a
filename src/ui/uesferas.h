#pragma once
// Two conducting spheres: mutual capacitance by bispherical images, maximum field
// by Russell's series, capacitance matrix.
#include "electrostatics/breakdown_field.h"
#include "numerics/fields.h"
#include "ui/form.h"
#include "numerics/library_namespaces.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TFesferas : public SecondaryForm {
  Q_OBJECT
 public:
  TFesferas(ReportSink& report, BreakdownField& breakdown, QWidget* parent = nullptr);

  static constexpr int kWidth = 420;
  static constexpr int kHeight = 240;

  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* Label4;
  QLabel* Label5;
  QLineEdit* Elarger;
  QLineEdit* Esmaller;
  QLineEdit* Edistance;
  QLineEdit* Ev2;
  QLineEdit* Ev1;
  QPushButton* Bspheres;

  // The field texts by component name, as the command reads them.
  FieldValues Fields() const;

 public slots:
  // The whole calculation, its lines to the main window's Report.
  void BspheresClick();

 private:
  BreakdownField* breakdown_;  // the program-wide setting, read by Calculate
};

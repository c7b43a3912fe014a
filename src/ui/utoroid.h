#pragma once
// Exact capacitance and maximum field of a toroid by toroidal Legendre functions,
// and the capacitances of other shapes.
#include <string>

#include "electrostatics/breakdown_field.h"
#include "numerics/fields.h"
#include "ui/form.h"
#include "numerics/library_namespaces.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFtoroid : public SecondaryForm {
  Q_OBJECT
 public:
  TFtoroid(ReportSink& report, BreakdownField& breakdown, QWidget* parent = nullptr);

  static constexpr int kWidth = 420;
  static constexpr int kHeight = 150;

  QLabel* Label1;  // "Major diameter:"
  QLabel* Label2;  // "Minor diameter:"
  QLabel* Label3;  // "to" (major)
  QLabel* Label4;  // "to" (minor)
  QLabel* Label5;  // "Values" (major)
  QLabel* Label6;  // "Values" (minor)
  QLineEdit* Emajor;
  QLineEdit* Eminor;
  QLineEdit* Emajorto;
  QLineEdit* Eminorto;
  QLineEdit* En1;
  QLineEdit* En2;
  QCheckBox* CBdetails;
  QCheckBox* CBtabela;
  QCheckBox* CBvolt;
  QPushButton* Btoroid;

  // Where Calculate saves toroid.dat in table mode: the current directory when empty.
  std::string tableDirectory;

  // The field texts and check states as the command reads them.
  FieldValues Fields() const;

 public slots:
  // Single mode or table mode by CBtabela; Emax from the program-wide setting.
  void BtoroidClick();
  // Table mode enables the ranges and disables (and clears) "List details".
  void CBtabelaClick();

 private:
  BreakdownField* breakdown_;  // the program-wide setting, read by Calculate
};

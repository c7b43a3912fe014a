#pragma once
// Tables of the complete and incomplete elliptic integrals, comparing the
// arithmetic-geometric mean with Simpson's rule and the series.
#include "numerics/fields.h"
#include "ui/form.h"
#include "numerics/library_namespaces.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

class TForm2 : public SecondaryForm {
  Q_OBJECT
 public:
  explicit TForm2(ReportSink& report, QWidget* parent = nullptr);

  static constexpr int kWidth = 560;
  static constexpr int kHeight = 400;

  // The texts of the edit fields, the states ("1"/"0") of the check boxes and the
  // selected item of RG123, by component name, for both panels.
  FieldValues Fields() const;
  // The selected item of RG123 (0, 1 or 2).
  int RG123Index() const;
  void SetRG123Index(int index);

  // Components, named as in the form: the complete integrals ...
  QGroupBox* GroupBox1;
  QLineEdit *Ek1, *Ek2, *Enk, *Ec1, *Ec2, *Enc;
  QGroupBox* RG123;
  QCheckBox *Cbagm, *CBSimpson, *CBserie, *CBdt, *CBk2c2;
  QPushButton* Button1;
  // ... and the incomplete ones.
  QGroupBox* GroupBox2;
  QLineEdit *Eask1, *Eask2, *Enask, *Ephi1, *Ephi2, *Enp;
  QCheckBox *CBFeE, *CBh;
  QPushButton* Button2;

 public slots:
  // The series is offered for K and E alone.
  void RG123Click();
  void Button1Click();
  void Button2Click();

 private:
  void BuildPanel(QGroupBox* panel, const std::vector<FieldDef>& defs);

  QButtonGroup* rg123Items_;
};

#pragma once
// A conical sheet (annulus, disk or cylinder as special cases) replaced by
// coaxial thin rings: capacitance and field.
#include "electrostatics/conical_sheet.h"
#include "ui/form.h"
#include "numerics/library_namespaces.h"

class PaintBox;
class QCheckBox;
class QLineEdit;
class QPushButton;

class TFdisk : public SecondaryForm {
  Q_OBJECT
 public:
  explicit TFdisk(ReportSink& report, QWidget* parent = nullptr);

  static constexpr int kWidth = 537;
  static constexpr int kHeight = 420;

  QLineEdit* Eidiameter;
  QLineEdit* Eodiameter;
  QLineEdit* Eheight;
  QLineEdit* Ensheet;
  QLineEdit* Edivisor;
  QCheckBox* CBssheet;
  QCheckBox* CBlsheet;
  QPushButton* Bsheet;
  PaintBox* PBsheet;

  FieldValues Fields() const;

 public slots:
  void BsheetClick();

 private:
  void PBsheetPaint(Canvas& canvas);
};

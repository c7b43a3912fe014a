#pragma once
// Straight round wires (self and mutual inductance) and the flat square spiral
// inductor: two independent panels, each with its own Calculate.
#include "numerics/fields.h"
#include "numerics/screen_mapping.h"
#include "platform/paint_box.h"
#include "ui/form.h"
#include "numerics/library_namespaces.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFstraight : public SecondaryForm {
  Q_OBJECT
 public:
  explicit TFstraight(ReportSink& report, QWidget* parent = nullptr);

  static constexpr int kWidth = 720;
  static constexpr int kHeight = 560;

  // The texts of each panel's fields (check boxes "1"/"0"), by component name.
  FieldValues StraightFields() const;
  FieldValues SpiralFields() const;

  // Two straight wires.
  QGroupBox* GroupBox1;
  QLineEdit *Elength1, *Eradius1, *Elength2, *Eradius2, *Esegments, *Edistance, *Eoffset;
  QPushButton* Bcalculate;
  // Square spiral inductor.
  QGroupBox* GroupBox2;
  QLineEdit *Esunit, *Esinner, *Esn, *Esd;
  QCheckBox *CBflat, *CBdet;
  QPushButton *Calculate, *Button1;
  PaintBox* PaintBox1;

 public slots:
  void BcalculateClick();
  void CalculateClick();
  // View: the spiral drawn anew, without the overlay of the last Calculate.
  void Button1Click();

 private:
  void PaintBox1Paint(Canvas& canvas);
  FieldValues PanelFields(const std::vector<FieldDef>& defs) const;

  ScreenMapping map_;  // of the last paint, used by the overlay of Calculate
};

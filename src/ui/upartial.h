#pragma once
// A band of a torus surface replaced by coaxial thin rings: capacitance and
// surface field, and a probe of potential and field on the drawing.
#include "electrostatics/breakdown_field.h"
#include "electrostatics/partial_toroid.h"
#include "ui/form.h"
#include "numerics/library_namespaces.h"

class PaintBox;
class QCheckBox;
class QLineEdit;
class QPushButton;

class TFpartial : public SecondaryForm {
  Q_OBJECT
 public:
  TFpartial(ReportSink& report, BreakdownField& breakdown, QWidget* parent = nullptr);

  static constexpr int kWidth = 593;
  static constexpr int kHeight = 476;

  QLineEdit* Epmajor;
  QLineEdit* Epminor;
  QLineEdit* Eiangle;
  QLineEdit* Efangle;
  QLineEdit* Enrings;
  QLineEdit* Efracao;
  QLineEdit* Ealfa;
  QLineEdit* Ea;
  QLineEdit* Eb;
  QCheckBox* CBlistar;
  QCheckBox* CBsalvar;
  QPushButton* Bpartial;
  PaintBox* PBpartial;

  FieldValues Fields() const;
  const PartialState& State() const { return state_; }

 public slots:
  void BpartialClick();

 private:
  void PBpartialPaint(Canvas& canvas);
  void PBpartialMouseDown(int X, int Y);

  BreakdownField* breakdown_;  // the program-wide setting, read by Calculate
  PartialState state_;
};

#pragma once
// "Secondary resonance": the main window's secondary with a top load over the ground
// plane, as a distributed resonator; its modes and the primary's tap, with the
// arrangement and mode 1 along the winding drawn.
#include <functional>

#include "resonator/resonator_command.h"
#include "ui/form.h"
#include "numerics/library_namespaces.h"

class PaintBox;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

class TFresonator : public SecondaryForm {
  Q_OBJECT
 public:
  // coilFields gives the main window's current field texts, read at each Calculate.
  TFresonator(ReportSink& report, std::function<FieldValues()> coilFields,
              QWidget* parent = nullptr);

  static constexpr int kWidth = 724;
  static constexpr int kHeight = 392;
  static constexpr int kDrawingWidth = 400;
  static constexpr int kDrawingHeight = 376;

  QCheckBox* CBground;
  QGroupBox* RGtopload;
  QLineEdit* Etmajor;
  QLineEdit* Etminor;
  QLineEdit* Esphere;
  QLineEdit* Etheight;
  QLineEdit* Esections;
  QLineEdit* Ecprimary;
  QPushButton* Bcalc;
  PaintBox* PBresonator;

  // The selected item of RGtopload: 0 none, 1 toroid, 2 sphere.
  int RGtoploadIndex() const;
  void SetRGtoploadIndex(int index);
  // The main window's coil texts with this window's own fields.
  FieldValues Fields() const;
  const ResonatorOutcome& Outcome() const { return outcome_; }

 public slots:
  void BcalcClick();
  // The top load's fields enabled for the kind chosen.
  void RGtoploadClick();

 private:
  void PBresonatorPaint(Canvas& canvas);

  std::function<FieldValues()> coilFields_;
  QButtonGroup* topItems_;
  ResonatorOutcome outcome_;
};

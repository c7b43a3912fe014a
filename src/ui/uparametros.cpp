#include "ui/uparametros.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>


TFparametros::TFparametros(ReportSink& report, BreakdownField& breakdown, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Fparametros"), kWidth, kHeight, parent),
      breakdown_(&breakdown) {
  setObjectName(QStringLiteral("Fparametros"));
  const FieldDef& def = ParametersFieldDefs().front();

  Label1 = new QLabel(QString::fromStdString(def.label), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(16, 20, 200, 16);

  Eemax = new QLineEdit(QString::fromStdString(def.defaultText), this);
  Eemax->setObjectName(QStringLiteral("Eemax"));
  Eemax->setGeometry(16, 40, 121, 21);
  Eemax->setToolTip(QString::fromStdString(def.hint));

  Bapply = new QPushButton(QStringLiteral("Apply"), this);
  Bapply->setObjectName(QStringLiteral("Bapply"));
  Bapply->setGeometry(16, 76, 75, 25);
  connect(Bapply, &QPushButton::clicked, this, &TFparametros::BapplyClick);
  ConnectEnter(this, Bapply);
  WatchNumberFields(this, ParametersFieldDefs());
}

// A text that is no number is refused with its line, the old setting kept and the
// window left open to correct it.
void TFparametros::BapplyClick() {
  CommandEnv env;
  env.breakdown = *breakdown_;
  const Result result =
      Run(ParametersFieldDefs(), &ParametersCommand, {{"Eemax", Eemax->text().toStdString()}}, env);
  if (!result.Ok()) return;
  *breakdown_ = env.breakdown;
  hide();
}

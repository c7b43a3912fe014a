#include "ui/uesferas.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "electrostatics/spheres.h"
#include "numerics/library_namespaces.h"

TFesferas::TFesferas(ReportSink& report, BreakdownField& breakdown, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Two spheres"), kWidth, kHeight, parent),
      breakdown_(&breakdown) {
  setObjectName(QStringLiteral("Fesferas"));
  // One row per field, in the order of the field definitions: label left, edit right.
  QLabel** labels[] = {&Label1, &Label2, &Label3, &Label4, &Label5};
  QLineEdit** edits[] = {&Elarger, &Esmaller, &Edistance, &Ev2, &Ev1};
  const std::vector<FieldDef>& defs = SpheresFieldDefs();
  for (std::size_t i = 0; i < defs.size(); ++i) {
    const int y = 16 + 32 * static_cast<int>(i);
    QLabel* label = new QLabel(QString::fromStdString(defs[i].label), this);
    label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
    label->setGeometry(16, y + 3, 240, 16);
    *labels[i] = label;
    QLineEdit* edit = new QLineEdit(QString::fromStdString(defs[i].defaultText), this);
    edit->setObjectName(QString::fromStdString(defs[i].name));
    edit->setGeometry(272, y, 121, 21);
    edit->setToolTip(QString::fromStdString(defs[i].hint));
    *edits[i] = edit;
  }

  Bspheres = new QPushButton(QStringLiteral("Calculate"), this);
  Bspheres->setObjectName(QStringLiteral("Bspheres"));
  Bspheres->setGeometry(318, 200, 75, 25);
  connect(Bspheres, &QPushButton::clicked, this, &TFesferas::BspheresClick);
  ConnectEnter(this, Bspheres);
  WatchNumberFields(this, SpheresFieldDefs());
}

FieldValues TFesferas::Fields() const {
  FieldValues f;
  for (const QLineEdit* e : {Elarger, Esmaller, Edistance, Ev2, Ev1})
    f[e->objectName().toStdString()] = e->text().toStdString();
  return f;
}

void TFesferas::BspheresClick() {
  CommandEnv env;
  env.breakdown = *breakdown_;
  Run(SpheresFieldDefs(), &SpheresCommand, Fields(), env);
}

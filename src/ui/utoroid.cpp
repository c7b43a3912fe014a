#include "ui/utoroid.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "electrostatics/toroid_command.h"
#include "numerics/library_namespaces.h"

namespace {

const FieldDef& Def(const char* name) {
  for (const FieldDef& f : ToroidFieldDefs())
    if (f.name == name) return f;
  return ToroidFieldDefs().front();
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Geometry of the two rows of fields: label, value, "to", last value, "Values", count.
constexpr int kRowTop[2] = {14, 42};
constexpr int kEditHeight = 21;

}  // namespace

TFtoroid::TFtoroid(ReportSink& report, BreakdownField& breakdown, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Toroid capacitance, etc."), kWidth, kHeight, parent),
      breakdown_(&breakdown) {
  setObjectName(QStringLiteral("Ftoroid"));

  auto edit = [this](const char* name, int x, int y, int w) {
    const FieldDef& def = Def(name);
    auto* e = new QLineEdit(Q(def.defaultText), this);
    e->setObjectName(QString::fromUtf8(name));
    e->setToolTip(Q(def.hint));
    e->setGeometry(x, y, w, kEditHeight);
    return e;
  };
  auto label = [this](const char* name, const char* fieldName, QLineEdit* buddy, int x, int y,
                      int w) {
    auto* l = new QLabel(Q(Def(fieldName).label), this);
    l->setObjectName(QString::fromUtf8(name));
    l->setBuddy(buddy);
    l->setGeometry(x, y + 3, w, 16);
    return l;
  };
  auto box = [this](const char* name, int x, int y, int w) {
    const FieldDef& def = Def(name);
    auto* b = new QCheckBox(Q(def.label), this);
    b->setObjectName(QString::fromUtf8(name));
    b->setToolTip(Q(def.hint));
    b->setGeometry(x, y, w, 17);
    return b;
  };

  Emajor = edit("Emajor", 106, kRowTop[0], 80);
  Emajorto = edit("Emajorto", 212, kRowTop[0], 80);
  En1 = edit("En1", 350, kRowTop[0], 60);
  Eminor = edit("Eminor", 106, kRowTop[1], 80);
  Eminorto = edit("Eminorto", 212, kRowTop[1], 80);
  En2 = edit("En2", 350, kRowTop[1], 60);
  Label1 = label("Label1", "Emajor", Emajor, 12, kRowTop[0], 92);
  Label2 = label("Label2", "Eminor", Eminor, 12, kRowTop[1], 92);
  Label3 = label("Label3", "Emajorto", Emajorto, 194, kRowTop[0], 16);
  Label4 = label("Label4", "Eminorto", Eminorto, 194, kRowTop[1], 16);
  Label5 = label("Label5", "En1", En1, 302, kRowTop[0], 46);
  Label6 = label("Label6", "En2", En2, 302, kRowTop[1], 46);

  CBdetails = box("CBdetails", 12, 78, 110);
  CBtabela = box("CBtabela", 130, 78, 110);
  CBvolt = box("CBvolt", 248, 78, 160);

  Btoroid = new QPushButton(QStringLiteral("Calculate"), this);
  Btoroid->setObjectName(QStringLiteral("Btoroid"));
  Btoroid->setGeometry(12, 110, 75, 25);

  connect(Btoroid, &QPushButton::clicked, this, &TFtoroid::BtoroidClick);
  ConnectEnter(this, Btoroid);
  WatchNumberFields(this, ToroidFieldDefs());
  connect(CBtabela, &QCheckBox::toggled, this, &TFtoroid::CBtabelaClick);
  CBtabelaClick();  // the ranges start disabled, the details enabled
}

FieldValues TFtoroid::Fields() const {
  FieldValues f;
  for (const QLineEdit* e : {Emajor, Eminor, Emajorto, Eminorto, En1, En2})
    f[e->objectName().toStdString()] = e->text().toStdString();
  for (const QCheckBox* b : {CBdetails, CBtabela, CBvolt})
    f[b->objectName().toStdString()] = std::string(1, b->isChecked() ? '1' : '0');
  return f;
}

void TFtoroid::BtoroidClick() {
  CommandEnv env;
  env.breakdown = *breakdown_;
  env.directory = tableDirectory;
  // A table of many toroids takes seconds: computed off the window's thread, and
  // stopped between two rows when asked.
  RunInBackground(ToroidFieldDefs(), &ToroidCommand, Fields(), env, nullptr, true);
}

void TFtoroid::CBtabelaClick() {
  const bool table = CBtabela->isChecked();
  for (QLineEdit* e : {Emajorto, Eminorto, En1, En2}) e->setEnabled(table);
  if (table) CBdetails->setChecked(false);
  CBdetails->setEnabled(!table);
}

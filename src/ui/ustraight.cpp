#include "ui/ustraight.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "straight/spiral.h"
#include "straight/straight_wires.h"
#include "numerics/library_namespaces.h"

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Where each field of a panel goes: label box and edit box, in the panel's pixels.
struct FieldPlace {
  const char* name;
  QRect label, edit;
};

const FieldPlace kStraightPlaces[] = {
    {"Elength1", {8, 23, 72, 16}, {82, 20, 100, 21}},
    {"Eradius1", {8, 51, 72, 16}, {82, 48, 100, 21}},
    {"Elength2", {8, 79, 72, 16}, {82, 76, 100, 21}},
    {"Eradius2", {8, 107, 72, 16}, {82, 104, 100, 21}},
    {"Edistance", {206, 23, 186, 16}, {396, 20, 100, 21}},
    {"Eoffset", {206, 51, 186, 16}, {396, 48, 100, 21}},
    {"Esegments", {206, 79, 186, 16}, {396, 76, 100, 21}},
};

const FieldPlace kSpiralPlaces[] = {
    {"Esunit", {8, 23, 90, 16}, {100, 20, 100, 21}},
    {"Esinner", {8, 51, 90, 16}, {100, 48, 100, 21}},
    {"Esn", {8, 79, 90, 16}, {100, 76, 100, 21}},
    {"Esd", {8, 107, 90, 16}, {100, 104, 100, 21}},
};

}  // namespace

TFstraight::TFstraight(ReportSink& report, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Inductances and mutual inductances of straight wires, flat square inductors"), kWidth, kHeight, parent) {
  setObjectName(QStringLiteral("Fstraight"));

  GroupBox1 = new QGroupBox(QStringLiteral("Two straight wires"), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setGeometry(4, 4, kWidth - 8, 140);
  GroupBox2 = new QGroupBox(QStringLiteral("Square spiral inductor (experimental)"), this);
  GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
  GroupBox2->setGeometry(4, 150, kWidth - 8, kHeight - 154);

  // Labels, defaults and hints from the panels' field tables; geometry the form's own.
  int labelNumber = 0;
  auto addFields = [&](QGroupBox* group, const std::vector<FieldDef>& defs,
                       const auto& places) {
    for (const FieldPlace& place : places) {
      const FieldDef* def = nullptr;
      for (const FieldDef& d : defs)
        if (d.name == place.name) def = &d;
      auto* edit = new QLineEdit(Q(def->defaultText), group);
      edit->setObjectName(Q(def->name));
      edit->setGeometry(place.edit);
      if (!def->hint.empty()) edit->setToolTip(Q(def->hint));
      auto* label = new QLabel(Q(def->label), group);
      label->setObjectName(QStringLiteral("Label%1").arg(++labelNumber));
      label->setGeometry(place.label);
      label->setBuddy(edit);
    }
  };
  addFields(GroupBox1, StraightFieldDefs(), kStraightPlaces);
  addFields(GroupBox2, SpiralFieldDefs(), kSpiralPlaces);
  auto edit = [this](const char* name) { return findChild<QLineEdit*>(QString::fromUtf8(name)); };
  Elength1 = edit("Elength1");
  Eradius1 = edit("Eradius1");
  Elength2 = edit("Elength2");
  Eradius2 = edit("Eradius2");
  Esegments = edit("Esegments");
  Edistance = edit("Edistance");
  Eoffset = edit("Eoffset");
  Esunit = edit("Esunit");
  Esinner = edit("Esinner");
  Esn = edit("Esn");
  Esd = edit("Esd");

  Bcalculate = new QPushButton(QStringLiteral("Calculate"), GroupBox1);
  Bcalculate->setObjectName(QStringLiteral("Bcalculate"));
  Bcalculate->setGeometry(396, 106, 75, 25);

  auto box = [&](const char* name, int y) {
    const std::string n(name);
    for (const FieldDef& d : SpiralFieldDefs())
      if (d.name == n) {
        auto* b = new QCheckBox(Q(d.label), GroupBox2);
        b->setObjectName(Q(d.name));
        b->setChecked(d.defaultText == "1");
        b->setGeometry(8, y, 150, 17);
        return b;
      }
    return static_cast<QCheckBox*>(nullptr);
  };
  CBflat = box("CBflat", 136);
  CBdet = box("CBdet", 158);

  Calculate = new QPushButton(QStringLiteral("Calculate"), GroupBox2);
  Calculate->setObjectName(QStringLiteral("Calculate"));
  Calculate->setGeometry(8, 188, 75, 25);
  Button1 = new QPushButton(QStringLiteral("View"), GroupBox2);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(90, 188, 75, 25);

  PaintBox1 = new PaintBox(kSpiralBoxSize, kSpiralBoxSize, GroupBox2);
  PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
  PaintBox1->move(GroupBox2->width() - 8 - kSpiralBoxSize, 20);
  PaintBox1->onPaint = [this](Canvas& canvas) { PaintBox1Paint(canvas); };

  connect(Bcalculate, &QPushButton::clicked, this, &TFstraight::BcalculateClick);
  connect(Calculate, &QPushButton::clicked, this, &TFstraight::CalculateClick);
  connect(Button1, &QPushButton::clicked, this, &TFstraight::Button1Click);
  // Each panel's fields calculate that panel.
  ConnectEnter(GroupBox1, Bcalculate);
  ConnectEnter(GroupBox2, Calculate);
  WatchNumberFields(this, StraightFieldDefs());
  WatchNumberFields(this, SpiralFieldDefs());
}

FieldValues TFstraight::PanelFields(const std::vector<FieldDef>& defs) const {
  FieldValues fields;
  for (const FieldDef& def : defs) {
    if (def.isCheckBox)
      fields[def.name] = std::string(1, findChild<QCheckBox*>(Q(def.name))->isChecked() ? '1' : '0');
    else
      fields[def.name] = findChild<QLineEdit*>(Q(def.name))->text().toStdString();
  }
  return fields;
}

FieldValues TFstraight::StraightFields() const { return PanelFields(StraightFieldDefs()); }
FieldValues TFstraight::SpiralFields() const { return PanelFields(SpiralFieldDefs()); }

void TFstraight::BcalculateClick() { Run(StraightFieldDefs(), &StraightCommand, StraightFields()); }

void TFstraight::CalculateClick() {
  // The overlay follows the scale of the last paint: paint once if nothing was shown.
  PaintBox1->EnsurePainted();
  CommandEnv env;
  env.canvas = &PaintBox1->Canvas();
  env.mapping = &map_;
  Run(SpiralFieldDefs(), &SpiralCommand, SpiralFields(), env);
}

void TFstraight::Button1Click() { PaintBox1->Repaint(); }

void TFstraight::PaintBox1Paint(Canvas& canvas) {
  PaintSpiral(canvas, ReadSpiralInputs(SpiralFields()), map_);
}

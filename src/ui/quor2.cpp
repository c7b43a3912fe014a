#include "ui/quor2.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <map>
#include <string>

#include "elliptic_test/elliptic_tables.h"
#include "numerics/library_namespaces.h"

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Form geometry, in pixels of each panel: the edit fields in two rows of three
// columns, labels above them; then the radio group and the check boxes.
constexpr int kColumn[3] = {8, 188, 368};
constexpr int kLabelTop[2] = {18, 62};
constexpr int kEditTop[2] = {36, 80};
constexpr int kEditHeight = 21;
constexpr int kOptionsTop = 110;
constexpr int kBoxHeight = 18;
constexpr int kBoxStep = 20;

struct Place {
  int row, column, width;
};
const std::map<std::string, Place> kEdits = {
    {"Ek1", {0, 0, 120}},   {"Ek2", {0, 1, 120}},   {"Enk", {0, 2, 60}},
    {"Ec1", {1, 0, 120}},   {"Ec2", {1, 1, 120}},   {"Enc", {1, 2, 60}},
    {"Eask1", {0, 0, 120}}, {"Eask2", {0, 1, 120}}, {"Enask", {0, 2, 60}},
    {"Ephi1", {1, 0, 120}}, {"Ephi2", {1, 1, 120}}, {"Enp", {1, 2, 60}},
};

const char* const kRG123Items[] = {"K and E", "K, E, and II(k,c)", "II(k,c) only"};

}  // namespace

TForm2::TForm2(ReportSink& report, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Elliptic integrals"), kWidth, kHeight, parent) {
  setObjectName(QStringLiteral("Form2"));

  GroupBox1 = new QGroupBox(QStringLiteral("complete integrals"), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setGeometry(4, 4, kWidth - 8, 236);
  GroupBox2 = new QGroupBox(QStringLiteral("incomplete integrals"), this);
  GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
  GroupBox2->setGeometry(4, 244, kWidth - 8, 152);
  BuildPanel(GroupBox1, CompleteIntegralsFieldDefs());
  BuildPanel(GroupBox2, IncompleteIntegralsFieldDefs());

  auto edit = [this](const char* name) { return findChild<QLineEdit*>(QString::fromUtf8(name)); };
  auto box = [this](const char* name) { return findChild<QCheckBox*>(QString::fromUtf8(name)); };
  Ek1 = edit("Ek1");
  Ek2 = edit("Ek2");
  Enk = edit("Enk");
  Ec1 = edit("Ec1");
  Ec2 = edit("Ec2");
  Enc = edit("Enc");
  Cbagm = box("Cbagm");
  CBSimpson = box("CBSimpson");
  CBserie = box("CBserie");
  CBdt = box("CBdt");
  CBk2c2 = box("CBk2c2");
  Eask1 = edit("Eask1");
  Eask2 = edit("Eask2");
  Enask = edit("Enask");
  Ephi1 = edit("Ephi1");
  Ephi2 = edit("Ephi2");
  Enp = edit("Enp");
  CBFeE = box("CBFeE");
  CBh = box("CBh");

  Button1 = new QPushButton(QStringLiteral("Compute complete integrals"), GroupBox1);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(kColumn[0], 202, 170, 25);
  Button2 = new QPushButton(QStringLiteral("Compute incomplete integrals"), GroupBox2);
  Button2->setObjectName(QStringLiteral("Button2"));
  Button2->setGeometry(kColumn[2], kOptionsTop, 170, 25);

  connect(rg123Items_, &QButtonGroup::idToggled, this, [this](int, bool on) {
    if (on) RG123Click();
  });
  connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
  ConnectEnter(GroupBox1, Button1);
  ConnectEnter(GroupBox2, Button2);
  WatchNumberFields(this, CompleteIntegralsFieldDefs());
  WatchNumberFields(this, IncompleteIntegralsFieldDefs());
}

// Labels, defaults and hints come from the tables' field lists; the geometry is the
// form's own.
void TForm2::BuildPanel(QGroupBox* panel, const std::vector<FieldDef>& defs) {
  int boxRow = 0;
  for (const FieldDef& def : defs) {
    const QString name = Q(def.name);
    if (def.name == "RG123") {
      RG123 = new QGroupBox(Q(def.label), panel);
      RG123->setObjectName(name);
      RG123->setToolTip(Q(def.hint));
      RG123->setGeometry(kColumn[0], kOptionsTop - 4, 170, 84);
      rg123Items_ = new QButtonGroup(this);
      for (int i = 0; i < 3; ++i) {
        auto* item = new QRadioButton(QString::fromUtf8(kRG123Items[i]), RG123);
        item->setObjectName(name + QStringLiteral("Item%1").arg(i));
        item->setGeometry(8, 18 + i * kBoxStep, 155, kBoxHeight);
        rg123Items_->addButton(item, i);
      }
      rg123Items_->button(std::stoi(def.defaultText))->setChecked(true);
      continue;
    }
    if (def.isCheckBox) {
      auto* box = new QCheckBox(Q(def.label), panel);
      box->setObjectName(name);
      box->setChecked(def.defaultText == "1");
      box->setToolTip(Q(def.hint));
      // Beside the radio group in the upper panel, at the left edge in the lower one.
      const bool upper = panel == GroupBox1;
      box->setGeometry(upper ? kColumn[1] : kColumn[0], kOptionsTop + boxRow * kBoxStep,
                       upper ? 350 : 340, kBoxHeight);
      ++boxRow;
      continue;
    }
    const Place& at = kEdits.at(def.name);
    auto* label = new QLabel(Q(def.label), panel);
    label->setObjectName(QStringLiteral("L") + name);
    label->setGeometry(kColumn[at.column], kLabelTop[at.row], 172, 16);
    auto* edit = new QLineEdit(Q(def.defaultText), panel);
    edit->setObjectName(name);
    edit->setToolTip(Q(def.hint));
    edit->setGeometry(kColumn[at.column], kEditTop[at.row], at.width, kEditHeight);
    label->setBuddy(edit);
  }
}

int TForm2::RG123Index() const { return rg123Items_->checkedId(); }

void TForm2::SetRG123Index(int index) { rg123Items_->button(index)->setChecked(true); }

FieldValues TForm2::Fields() const {
  FieldValues fields;
  for (const auto* defs : {&CompleteIntegralsFieldDefs(), &IncompleteIntegralsFieldDefs()}) {
    for (const FieldDef& def : *defs) {
      if (def.name == "RG123")
        fields[def.name] = std::to_string(RG123Index());
      else if (def.isCheckBox)
        fields[def.name] =
            std::string(1, findChild<QCheckBox*>(Q(def.name))->isChecked() ? '1' : '0');
      else
        fields[def.name] = findChild<QLineEdit*>(Q(def.name))->text().toStdString();
    }
  }
  return fields;
}

void TForm2::RG123Click() { CBserie->setEnabled(RG123Index() == 0); }

// A table by Simpson's rule takes seconds per thousand rows: both tables are computed
// off the window's thread, and stop at the next row when asked.
void TForm2::Button1Click() {
  RunInBackground(CompleteIntegralsFieldDefs(), &CompleteIntegralsCommand, Fields(), {},
                  nullptr, true);
}

void TForm2::Button2Click() {
  RunInBackground(IncompleteIntegralsFieldDefs(), &IncompleteIntegralsCommand, Fields(), {},
                  nullptr, true);
}

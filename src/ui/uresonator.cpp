#include "ui/uresonator.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/paint_box.h"
#include "ui/field_widgets.h"

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Form geometry: the fields in a column on the left, the drawing on the right.
constexpr int kMargin = 8;
constexpr int kLabelWidth = 212;
constexpr int kEditWidth = 80;
constexpr int kRowStep = 27;
const char* const kTopItems[] = {"None", "Toroid", "Sphere"};

}  // namespace

TFresonator::TFresonator(ReportSink& report, std::function<FieldValues()> coilFields,
                         QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Secondary resonance"), kWidth, kHeight, parent),
      coilFields_(std::move(coilFields)) {
  setObjectName(QStringLiteral("Fresonator"));

  auto* coils = new QLabel(QStringLiteral("The coils are those of the main window."), this);
  coils->setObjectName(QStringLiteral("Lcoils"));
  coils->setGeometry(kMargin, kMargin, kLabelWidth + kEditWidth, 16);

  int y = kMargin + 24;
  for (const FieldDef& def : ResonatorWindowFieldDefs()) {
    if (def.isCheckBox) {
      AddCheckBox(this, def, kMargin, y, kLabelWidth + kEditWidth);
      y += kRowStep - 4;
    } else if (def.name == "RGtopload") {
      RGtopload = new QGroupBox(Q(def.label), this);
      RGtopload->setObjectName(Q(def.name));
      RGtopload->setToolTip(Q(def.hint));
      RGtopload->setGeometry(kMargin, y, kLabelWidth + kEditWidth + 4, 44);
      topItems_ = new QButtonGroup(this);
      for (int i = 0; i < 3; ++i) {
        auto* item = new QRadioButton(QString::fromUtf8(kTopItems[i]), RGtopload);
        item->setObjectName(Q(def.name) + QStringLiteral("Item%1").arg(i));
        item->setGeometry(8 + i * 88, 20, 84, 18);
        topItems_->addButton(item, i);
      }
      topItems_->button(std::stoi(def.defaultText))->setChecked(true);
      y += 52;
    } else {
      AddFieldRow(this, def, kMargin, y, kMargin + kLabelWidth, kEditWidth);
      y += kRowStep;
    }
  }
  CBground = findChild<QCheckBox*>(QStringLiteral("CBground"));
  auto edit = [this](const char* name) { return findChild<QLineEdit*>(QString::fromUtf8(name)); };
  Etmajor = edit("Etmajor");
  Etminor = edit("Etminor");
  Esphere = edit("Esphere");
  Etheight = edit("Etheight");
  Esections = edit("Esections");
  Ecprimary = edit("Ecprimary");

  Bcalc = new QPushButton(QStringLiteral("Calculate"), this);
  Bcalc->setObjectName(QStringLiteral("Bcalc"));
  Bcalc->setGeometry(kMargin + kLabelWidth, y + 6, kEditWidth, 25);

  PBresonator = new PaintBox(kDrawingWidth, kDrawingHeight, this);
  PBresonator->setObjectName(QStringLiteral("PBresonator"));
  PBresonator->move(kWidth - kMargin - kDrawingWidth, kMargin);
  PBresonator->onPaint = [this](Canvas& canvas) { PBresonatorPaint(canvas); };

  connect(Bcalc, &QPushButton::clicked, this, &TFresonator::BcalcClick);
  ConnectEnter(this, Bcalc);
  WatchNumberFields(this, ResonatorWindowFieldDefs());
  connect(topItems_, &QButtonGroup::idToggled, this, [this](int, bool on) {
    if (on) RGtoploadClick();
  });
  RGtoploadClick();
}

int TFresonator::RGtoploadIndex() const { return topItems_->checkedId(); }

void TFresonator::SetRGtoploadIndex(int index) { topItems_->button(index)->setChecked(true); }

FieldValues TFresonator::Fields() const {
  FieldValues fields = coilFields_ ? coilFields_() : FieldValues{};
  for (const auto& [name, text] : ReadFieldWidgets(this, ResonatorWindowFieldDefs()))
    fields[name] = text;
  fields["RGtopload"] = std::to_string(RGtoploadIndex());
  return fields;
}

void TFresonator::RGtoploadClick() {
  const int kind = RGtoploadIndex();
  Etmajor->setEnabled(kind == 1);
  Etminor->setEnabled(kind == 1);
  Esphere->setEnabled(kind == 2);
  Etheight->setEnabled(kind != 0);
}

void TFresonator::BcalcClick() {
  outcome_ = ResonatorOutcome();
  CommandEnv env;
  Run(
      ResonatorFieldDefs(),
      [this](const FieldValues& f, CommandEnv& e) { return CalculateResonator(f, e, outcome_); },
      Fields(), env);
  PBresonator->Repaint();
}

void TFresonator::PBresonatorPaint(Canvas& canvas) {
  // After a calculation its result; before it, the arrangement the fields describe.
  DrawResonator(outcome_.computed ? outcome_ : ResonatorArrangement(Fields()), canvas);
}

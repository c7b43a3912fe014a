#include "ui/upartial.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "platform/paint_box.h"
#include "ui/field_widgets.h"

namespace {
// Form geometry: the drawing on top, two columns of fields below it.
constexpr int kMargin = 8;
constexpr int kFieldsTop = kMargin + kPBpartialHeight + 10;
constexpr int kRowStep = 25;
constexpr int kRightColumn = 300;
constexpr int kEditWidth = 85;
}  // namespace

TFpartial::TFpartial(ReportSink& report, BreakdownField& breakdown, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Partial toroidal surface decomposed in thin rings"),
                    kWidth, kHeight, parent),
      breakdown_(&breakdown) {
  setObjectName(QStringLiteral("Fpartial"));

  PBpartial = new PaintBox(kPBpartialWidth, kPBpartialHeight, this);
  PBpartial->setObjectName(QStringLiteral("PBpartial"));
  PBpartial->move(kMargin, kMargin);
  PBpartial->onPaint = [this](Canvas& canvas) { PBpartialPaint(canvas); };
  PBpartial->onMouseDown = [this](Qt::MouseButton, int x, int y) { PBpartialMouseDown(x, y); };

  // The toroid's size and the band on the left, the ring circle and wire radius on the
  // right, in the order of the field table.
  int row[2] = {0, 0};
  int boxes = 0;
  for (const FieldDef& def : PartialFieldDefs()) {
    if (def.isCheckBox) {
      AddCheckBox(this, def, kMargin, kFieldsTop + 5 * kRowStep + 4 + boxes++ * 22, 280);
      continue;
    }
    const bool left = row[0] < 5;
    const int column = left ? 0 : 1;
    const int x = left ? kMargin : kRightColumn;
    AddFieldRow(this, def, x, kFieldsTop + row[column]++ * kRowStep, x + 200, kEditWidth);
  }
  auto edit = [this](const char* name) { return findChild<QLineEdit*>(QString::fromUtf8(name)); };
  Epmajor = edit("Epmajor");
  Epminor = edit("Epminor");
  Eiangle = edit("Eiangle");
  Efangle = edit("Efangle");
  Enrings = edit("Enrings");
  Efracao = edit("Efracao");
  Ealfa = edit("Ealfa");
  Ea = edit("Ea");
  Eb = edit("Eb");
  CBlistar = findChild<QCheckBox*>(QStringLiteral("CBlistar"));
  CBsalvar = findChild<QCheckBox*>(QStringLiteral("CBsalvar"));

  Bpartial = new QPushButton(QStringLiteral("Calculate"), this);
  Bpartial->setObjectName(QStringLiteral("Bpartial"));
  Bpartial->setGeometry(kRightColumn + 200, kFieldsTop + 5 * kRowStep + 6, kEditWidth, 25);
  connect(Bpartial, &QPushButton::clicked, this, &TFpartial::BpartialClick);
  ConnectEnter(this, Bpartial);
  WatchNumberFields(this, PartialFieldDefs());
}

FieldValues TFpartial::Fields() const { return ReadFieldWidgets(this, PartialFieldDefs()); }

// Hundreds of rings take seconds: computed off the window's thread, on a copy of the
// drawing.
void TFpartial::BpartialClick() {
  CommandEnv env;
  env.breakdown = *breakdown_;
  RunInBackground(
      PartialFieldDefs(),
      [this](const FieldValues& f, CommandEnv& e) { return CalculatePartial(f, state_, e); },
      Fields(), env, PBpartial);
}

void TFpartial::PBpartialPaint(Canvas& canvas) { PaintPartial(Fields(), state_, canvas); }

void TFpartial::PBpartialMouseDown(int X, int Y) {
  if (Background().Busy()) return;  // the rings probed are being computed
  RunGuarded([&] { ProbePartial(state_, X, Y, Report()); });
}

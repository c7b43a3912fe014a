#include "ui/udisk.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "platform/paint_box.h"
#include "ui/field_widgets.h"

namespace {
// Form geometry: the drawing on top, the fields below it.
constexpr int kMargin = 8;
constexpr int kFieldsTop = kMargin + kPBsheetHeight + 10;
constexpr int kRowStep = 25;
constexpr int kRightColumn = 280;
constexpr int kEditWidth = 85;
}  // namespace

TFdisk::TFdisk(ReportSink& report, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Circular sheet"), kWidth, kHeight, parent) {
  setObjectName(QStringLiteral("Fdisk"));

  PBsheet = new PaintBox(kPBsheetWidth, kPBsheetHeight, this);
  PBsheet->setObjectName(QStringLiteral("PBsheet"));
  PBsheet->move(kMargin, kMargin);
  PBsheet->onPaint = [this](Canvas& canvas) { PBsheetPaint(canvas); };

  // The sheet's shape on the left, the ring count and wire radius and the switches on
  // the right.
  int row[2] = {0, 0};
  for (const FieldDef& def : SheetFieldDefs()) {
    const bool left = def.name == "Eidiameter" || def.name == "Eodiameter" || def.name == "Eheight";
    const int column = left ? 0 : 1;
    const int x = left ? kMargin : kRightColumn;
    const int y = kFieldsTop + row[column]++ * kRowStep;
    if (def.isCheckBox)
      AddCheckBox(this, def, x, y + 2, kWidth - kRightColumn - kMargin);
    else
      AddFieldRow(this, def, x, y, x + 160, kEditWidth);
  }
  auto edit = [this](const char* name) { return findChild<QLineEdit*>(QString::fromUtf8(name)); };
  Eidiameter = edit("Eidiameter");
  Eodiameter = edit("Eodiameter");
  Eheight = edit("Eheight");
  Ensheet = edit("Ensheet");
  Edivisor = edit("Edivisor");
  CBssheet = findChild<QCheckBox*>(QStringLiteral("CBssheet"));
  CBlsheet = findChild<QCheckBox*>(QStringLiteral("CBlsheet"));

  Bsheet = new QPushButton(QStringLiteral("Calculate"), this);
  Bsheet->setObjectName(QStringLiteral("Bsheet"));
  Bsheet->setGeometry(kMargin + 160, kFieldsTop + 3 * kRowStep + 4, kEditWidth, 25);
  connect(Bsheet, &QPushButton::clicked, this, &TFdisk::BsheetClick);
  ConnectEnter(this, Bsheet);
  WatchNumberFields(this, SheetFieldDefs());
}

FieldValues TFdisk::Fields() const { return ReadFieldWidgets(this, SheetFieldDefs()); }

// The ring-by-ring sums of a sheet of many rings take seconds: computed off the
// window's thread, on a copy of the drawing.
void TFdisk::BsheetClick() {
  RunInBackground(SheetFieldDefs(), &SheetCommand, Fields(), {}, PBsheet);
}

void TFdisk::PBsheetPaint(Canvas& canvas) { PaintSheet(Fields(), canvas); }

#include "ui/field_widgets.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

QLineEdit* AddFieldRow(QWidget* parent, const FieldDef& def, int x, int y, int editX,
                       int editWidth) {
  auto* edit = new QLineEdit(Q(def.defaultText), parent);
  edit->setObjectName(Q(def.name));
  edit->setToolTip(Q(def.hint));
  edit->setGeometry(editX, y, editWidth, 21);
  auto* label = new QLabel(Q(def.label), parent);
  label->setObjectName(QStringLiteral("L") + Q(def.name.substr(1)));
  label->setGeometry(x, y + 3, editX - x - 4, 16);
  label->setBuddy(edit);
  return edit;
}

QCheckBox* AddCheckBox(QWidget* parent, const FieldDef& def, int x, int y, int width) {
  auto* box = new QCheckBox(Q(def.label), parent);
  box->setObjectName(Q(def.name));
  box->setChecked(def.defaultText == "1");
  if (!def.hint.empty()) box->setToolTip(Q(def.hint));
  box->setGeometry(x, y, width, 17);
  return box;
}

FieldValues ReadFieldWidgets(const QWidget* form, const std::vector<FieldDef>& defs) {
  FieldValues fields;
  for (const FieldDef& def : defs) {
    if (def.isCheckBox) {
      if (const auto* box = form->findChild<QCheckBox*>(Q(def.name)))
        fields[def.name] = std::string(1, box->isChecked() ? '1' : '0');
    } else if (const auto* edit = form->findChild<QLineEdit*>(Q(def.name))) {
      fields[def.name] = edit->text().toStdString();
    }
  }
  return fields;
}

#pragma once
// Edit fields and check boxes built from a window's field table (names, labels,
// default texts, hints) and read back as the FieldValues its commands take.
#include <QString>
#include <vector>

#include "numerics/fields.h"
#include "numerics/library_namespaces.h"

class QCheckBox;
class QLineEdit;
class QWidget;

// A label at (x, y) and the edit named after the field at (editX, y), editWidth wide.
QLineEdit* AddFieldRow(QWidget* parent, const FieldDef& def, int x, int y, int editX,
                       int editWidth);
QCheckBox* AddCheckBox(QWidget* parent, const FieldDef& def, int x, int y, int width);

// The texts of the window's edits and check boxes ("1"/"0") named in defs.
FieldValues ReadFieldWidgets(const QWidget* form, const std::vector<FieldDef>& defs);

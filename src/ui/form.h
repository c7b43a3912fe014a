#pragma once
// What every window of quor shares: the 8-point sans-serif font, a fixed client size
// and, for the secondary windows, the main window's Report to write into. Closing a
// secondary window only hides it: it lives, with its field texts, for the whole run.
#include <QFont>
#include <QWidget>

#include "numerics/report.h"

QFont FormFont();

// Makes the window visible, or brings it to the front when it already is.
void ShowForm(QWidget* form);

class SecondaryForm : public QWidget {
  Q_OBJECT
 public:
  SecondaryForm(ReportSink& report, const QString& caption, int width, int height,
                QWidget* parent = nullptr);

 protected:
  ReportSink& Report() { return *report_; }

 private:
  ReportSink* report_;
};

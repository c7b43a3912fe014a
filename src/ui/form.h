#pragma once
// What every window of quor shares: the 8-point sans-serif font, a designed client
// size that is also its smallest, and, for the secondary windows, the main window's
// Report to write into. Closing a secondary window (or Escape) only hides it: it lives,
// with its field texts, for the whole run.
#include <QFont>
#include <QString>
#include <QWidget>
#include <functional>

#include "numerics/command.h"
#include "numerics/report.h"
#include "numerics/library_namespaces.h"
#include "ui/background_command.h"
#include "ui/desktop.h"

class PaintBox;

QFont FormFont();

// Makes the window visible, or brings it to the front when it already is.
void ShowForm(QWidget* form);

class SecondaryForm : public QWidget {
  Q_OBJECT
 public:
  SecondaryForm(ReportSink& report, const QString& caption, int width, int height,
                QWidget* parent = nullptr);

  // Shows the message of an arithmetic fault or a file error that ended a command:
  // the toolkit's error box. Tests replace it.
  std::function<void(const QString&)> showError;

  // Runs the window's long commands off its thread (see BackgroundCommand).
  BackgroundCommand& Background() { return *background_; }
  // The text areas that grow with the window, the drawing areas that keep their size.
  ElasticLayout& Layout() { return *layout_; }

 protected:
  ReportSink& Report() { return *report_; }
  // Runs a command of the window through the common run path: its typed numbers
  // checked first, its lines to env.report (the window's Report when env has none),
  // and a fault or file error shown through showError.
  Result Run(const std::vector<FieldDef>& defs, const CommandRunner& command,
             const FieldValues& fields, CommandEnv& env);
  Result Run(const std::vector<FieldDef>& defs, const CommandRunner& command,
             const FieldValues& fields);
  // Runs a step of the window that is no command (a probe, a load). An arithmetic
  // fault (division by zero, invalid operation, overflow) or a file error ends it with
  // its message through showError; the lines already written stay. Returns false when
  // the step ended so.
  bool RunGuarded(const std::function<void()>& command);
  // Run, with the command computed on a worker thread: the window's commands wait,
  // disabled, and its lines reach env.report (the window's Report when env has none)
  // in order. drawing: the area the command draws on; stoppable: it checks
  // env.stopRequested, and the window offers Stop.
  Result RunInBackground(const std::vector<FieldDef>& defs, const CommandRunner& command,
                         const FieldValues& fields, CommandEnv env, PaintBox* drawing = nullptr,
                         bool stoppable = false);

 private:
  ReportSink* report_;
  BackgroundCommand* background_;
  ElasticLayout* layout_;
};

#include "ui/form.h"

#include <QMessageBox>

#include "numerics/arithmetic_fault.h"
#include "numerics/file_write.h"
#include "numerics/library_namespaces.h"

QFont FormFont() {
  QFont f(QStringLiteral("Sans Serif"));
  f.setStyleHint(QFont::SansSerif);
  f.setPointSize(8);
  return f;
}

void ShowForm(QWidget* form) {
  form->show();  // nothing happens to a window already visible ...
  form->raise(); // ... which only comes to the front
  form->activateWindow();
}

SecondaryForm::SecondaryForm(ReportSink& report, const QString& caption, int width, int height,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), report_(&report) {
  setWindowTitle(caption);
  setFont(FormFont());
  resize(width, height);
  layout_ = new ElasticLayout(this, QSize(width, height));
  background_ = new BackgroundCommand(this);
  AddEscapeHides(this);
  showError = [this](const QString& message) {
    QMessageBox::critical(this, QStringLiteral("quor"), message);
  };
}

bool SecondaryForm::RunGuarded(const std::function<void()>& command) {
  try {
    ClearArithmeticFaults();
    command();
    return true;
  } catch (const ArithmeticFault& fault) {
    if (showError) showError(QString::fromStdString(fault.what()));
  } catch (const FileError& error) {
    if (showError) showError(QString::fromStdString(error.what()));
  }
  return false;
}

Result SecondaryForm::Run(const std::vector<FieldDef>& defs, const CommandRunner& command,
                          const FieldValues& fields, CommandEnv& env) {
  if (!env.report) env.report = report_;
  env.collectLines = false;  // the Report keeps them
  const Result result = RunCommand(defs, command, fields, env);
  if (result.status == CommandStatus::Fault && showError)
    showError(QString::fromStdString(result.message));
  return result;
}

Result SecondaryForm::Run(const std::vector<FieldDef>& defs, const CommandRunner& command,
                          const FieldValues& fields) {
  CommandEnv env;
  return Run(defs, command, fields, env);
}

Result SecondaryForm::RunInBackground(const std::vector<FieldDef>& defs,
                                      const CommandRunner& command, const FieldValues& fields,
                                      CommandEnv env, PaintBox* drawing, bool stoppable) {
  if (!env.report) env.report = report_;
  BackgroundCommand::Job job{defs, command, fields, std::move(env), drawing, stoppable};
  const Result result = background_->Run(std::move(job));
  if (result.status == CommandStatus::Fault && showError)
    showError(QString::fromStdString(result.message));
  return result;
}

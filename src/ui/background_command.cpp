#include "ui/background_command.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>
#include <memory>

#include "platform/image_canvas.h"
#include "platform/paint_box.h"
#include "platform/report_memo.h"
#include "ui/desktop.h"

namespace {
constexpr int kBarWidth = 160;
constexpr int kStopWidth = 60;
constexpr int kIndicatorHeight = 22;
constexpr int kMargin = 4;
}  // namespace

void BackgroundCommand::LineQueue::Append(std::string_view line) {
  bool post = false;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    text_.append(line);
    ends_.push_back(static_cast<std::uint32_t>(text_.size()));
    post = !posted_;
    posted_ = true;
  }
  // One delivery per burst of lines, however many the worker writes before it runs.
  if (post)
    QMetaObject::invokeMethod(&owner_, [o = &owner_] { o->Deliver(); }, Qt::QueuedConnection);
}

void BackgroundCommand::LineQueue::MoveTo(ReportSink& sink) {
  std::string text;
  std::vector<std::uint32_t> ends;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    posted_ = false;
    text.swap(text_);
    ends.swap(ends_);
  }
  // The worker goes on meanwhile, into fresh buffers.
  std::uint32_t begin = 0;
  for (const std::uint32_t end : ends) {
    sink.Append(std::string_view(text).substr(begin, end - begin));
    begin = end;
  }
}

BackgroundCommand::BackgroundCommand(QWidget* form) : QObject(form), form_(form) {
  busyBar_ = new QProgressBar(form);
  busyBar_->setObjectName(QStringLiteral("BusyBar"));
  busyBar_->setRange(0, 0);  // no measure of the work left: a busy indicator
  busyBar_->setTextVisible(false);
  busyBar_->setToolTip(QStringLiteral("Calculating"));
  busyBar_->hide();
  stopButton_ = new QPushButton(QStringLiteral("Stop"), form);
  stopButton_->setObjectName(QStringLiteral("BusyStop"));
  stopButton_->hide();
  connect(stopButton_, &QPushButton::clicked, this, &BackgroundCommand::Stop);
}

BackgroundCommand::~BackgroundCommand() {
  stop_ = true;
  if (worker_.joinable()) worker_.join();
}

void BackgroundCommand::Stop() {
  stop_ = true;
  stopButton_->setEnabled(false);
}

void BackgroundCommand::SetCommandEnabled(QWidget* widget, bool enabled) {
  for (BackgroundCommand* b : widget->window()->findChildren<BackgroundCommand*>()) {
    if (!b->busy_) continue;
    for (Disabled& d : b->disabled_) {
      if (d.widget == widget) {
        d.enableAfter = enabled;
        return;
      }
    }
  }
  widget->setEnabled(enabled);
}

void BackgroundCommand::Deliver() {
  if (target_) queue_.MoveTo(*target_);
}

Result BackgroundCommand::Run(Job job) {
  if (busy_) return Result::Refused({});
  target_ = job.env.report;
  // The worker draws on a copy of the picture, which comes back when it ends.
  std::unique_ptr<ImageCanvas> workCanvas;
  if (job.drawing) {
    job.drawing->EnsurePainted();
    const QImage& shown = job.drawing->Canvas().Image();
    workCanvas = std::make_unique<ImageCanvas>(shown.width(), shown.height());
    workCanvas->SetImage(shown);
    job.env.canvas = workCanvas.get();
  }
  job.env.report = &queue_;
  job.env.collectLines = false;
  // Nothing of the window's thread runs on the worker.
  job.env.pump = {};
  job.env.pumpNow = {};
  job.env.onRunningChanged = {};
  job.env.stopRequested = [this] { return stop_.load(); };
  stop_ = false;
  finished_ = false;
  stopButton_->setVisible(job.stoppable);
  SetBusy(true);

  Result result;
  QEventLoop loop;
  loop_ = &loop;
  const unsigned run = ++runs_;
  worker_ = std::thread([this, &job, &result, run] {
    result = RunCommand(job.defs, job.run, job.fields, job.env);
    finished_ = true;
    // Only this run's loop: a late event of an earlier run ends no other.
    QMetaObject::invokeMethod(
        this,
        [this, run] {
          if (loop_ && runs_ == run) loop_->quit();
        },
        Qt::QueuedConnection);
  });
  if (whileRunning) whileRunning();
  // The program ending meanwhile also ends this loop: the command is then asked to
  // stop and waited for.
  if (!finished_) loop.exec();
  loop_ = nullptr;
  if (!finished_) stop_ = true;
  worker_.join();
  Deliver();
  if (job.drawing) job.drawing->Canvas().SetImage(workCanvas->Image());
  if (auto* memo = dynamic_cast<ReportMemo*>(target_)) memo->Flush();
  target_ = nullptr;
  SetBusy(false);
  return result;
}

void BackgroundCommand::PlaceIndicators() {
  const int y = form_->height() - kIndicatorHeight - kMargin;
  const int stopX = form_->width() - kStopWidth - kMargin;
  stopButton_->setGeometry(stopX, y, kStopWidth, kIndicatorHeight);
  busyBar_->setGeometry(stopX - kMargin - kBarWidth, y, kBarWidth, kIndicatorHeight);
}

void BackgroundCommand::SetBusy(bool busy) {
  busy_ = busy;
  if (busy) {
    for (QWidget* w : form_->findChildren<QWidget*>()) {
      if (w == stopButton_ || w == busyBar_) continue;
      if (auto* text = qobject_cast<QPlainTextEdit*>(w)) {
        if (!text->isReadOnly()) {
          text->setReadOnly(true);
          readOnly_.emplace_back(text);
        }
        continue;
      }
      const bool command = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                           qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w);
      if (command && w->isEnabled()) {
        w->setEnabled(false);
        disabled_.push_back({w, true});
      }
    }
    for (QAction* a : form_->findChildren<QAction*>()) {
      // A menu's title stays: its items say for themselves.
      if (a->isEnabled() && !KeptWhileBusy(a) && !a->menu()) {
        a->setEnabled(false);
        disabledActions_.emplace_back(a);
      }
    }
    stopButton_->setEnabled(true);
    PlaceIndicators();
    busyBar_->show();
    busyBar_->raise();
    stopButton_->raise();
    form_->setCursor(Qt::BusyCursor);
  } else {
    for (const Disabled& d : disabled_)
      if (d.widget) d.widget->setEnabled(d.enableAfter);
    for (const QPointer<QAction>& a : disabledActions_)
      if (a) a->setEnabled(true);
    for (const QPointer<QWidget>& w : readOnly_)
      if (auto* text = qobject_cast<QPlainTextEdit*>(w.data())) text->setReadOnly(false);
    disabled_.clear();
    disabledActions_.clear();
    readOnly_.clear();
    busyBar_->hide();
    stopButton_->hide();
    form_->unsetCursor();
  }
}

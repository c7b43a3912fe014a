#pragma once
// A window command that may run for seconds (a table of elliptic integrals by
// Simpson's rule, a long toroid table, a structure of hundreds of rings) computed on a
// worker thread, so that the program stays live meanwhile.
//
// The command is a plain function of a copy of the window's fields and of its own
// CommandEnv; nothing it reads is shared with the window while it runs. Its Report
// lines are queued as they are written and appended to the window's Report on the GUI
// thread, in the order written. A drawing area it draws on is copied for the worker
// and the finished picture copied back.
//
// While it runs the window's commands (buttons, edits, combo boxes, its menu items)
// are disabled, so a click meanwhile is dropped, not replayed at the end; the window
// shows a busy cursor and a busy bar, and a Stop button for the commands that check
// for a stop. Other windows stay usable.
#include <QObject>
#include <QPointer>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "numerics/command.h"
#include "numerics/library_namespaces.h"

class PaintBox;
class QAction;
class QEventLoop;
class QProgressBar;
class QPushButton;
class QWidget;

class BackgroundCommand : public QObject {
  Q_OBJECT
 public:
  explicit BackgroundCommand(QWidget* form);
  // Asks a running command to stop and waits for its thread.
  ~BackgroundCommand() override;

  struct Job {
    std::vector<FieldDef> defs;
    CommandRunner run;
    FieldValues fields;
    // The window's environment; its report is where the lines go (on this thread).
    CommandEnv env;
    // The drawing area the command draws on, or none.
    PaintBox* drawing = nullptr;
    // The command checks env.stopRequested: the window offers Stop.
    bool stoppable = false;
  };

  // Runs the job on a worker thread and returns once it has ended and all its lines
  // are in the Report; the window's events (and other windows') are served meanwhile.
  // A second call while one runs is refused with an empty Refused result.
  Result Run(Job job);

  bool Busy() const { return busy_; }
  // Asks the running command to stop at its next check.
  void Stop();

  // Enables or disables a command of a window from outside it (the unit conversion
  // allows or forbids the Calculate of the windows it converts): at once, or, while
  // a command of that window runs and holds it disabled, when it ends.
  static void SetCommandEnabled(QWidget* widget, bool enabled);

  // Called on the GUI thread once the window waits for the worker (tests look at the
  // window then).
  std::function<void()> whileRunning;

  // The busy bar and the Stop button, shown only while a command runs.
  QProgressBar* BusyBar() const { return busyBar_; }
  QPushButton* StopButton() const { return stopButton_; }

 private:
  // Lines from the worker, handed to the Report on the GUI thread. A listing may run
  // to millions of lines faster than the Report takes them, so they wait as one text
  // and the ends of the lines in it (some 4 bytes a line beside the text), not as a
  // string each.
  class LineQueue : public ReportSink {
   public:
    explicit LineQueue(BackgroundCommand& owner) : owner_(owner) {}
    void Append(std::string_view line) override;
    // Passes the lines waiting, in order, to sink.
    void MoveTo(ReportSink& sink);

   private:
    BackgroundCommand& owner_;
    std::mutex mutex_;
    std::string text_;
    std::vector<std::uint32_t> ends_;
    bool posted_ = false;
  };

  void Deliver();
  void SetBusy(bool busy);
  void PlaceIndicators();

  QWidget* form_;
  LineQueue queue_{*this};
  ReportSink* target_ = nullptr;
  std::thread worker_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> finished_{false};
  bool busy_ = false;
  QEventLoop* loop_ = nullptr;
  unsigned runs_ = 0;
  QProgressBar* busyBar_ = nullptr;
  QPushButton* stopButton_ = nullptr;
  // What SetBusy(true) disabled, to be enabled again; the text areas made read-only.
  struct Disabled {
    QPointer<QWidget> widget;
    bool enableAfter = true;
  };
  std::vector<Disabled> disabled_;
  std::vector<QPointer<QAction>> disabledActions_;
  std::vector<QPointer<QWidget>> readOnly_;
};

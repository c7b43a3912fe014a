#pragma once
// The application frame of quor: the title, the ten windows created at start-up in a
// fixed order and kept for the whole run, the menu items that show them, and the end
// of the program.
#include <QStringList>
#include <QWidget>
#include <memory>
#include <type_traits>
#include <vector>

#include "ui/quor2.h"
#include "ui/quoru.h"
#include "ui/uaxis.h"
#include "ui/udisk.h"
#include "ui/uesferas.h"
#include "ui/uparametros.h"
#include "ui/uresonator.h"
#include "ui/upartial.h"
#include "ui/ustraight.h"
#include "ui/utoroid.h"

class QuorApplication {
 public:
  // Needs the QApplication. Sets the application title and creates the windows.
  QuorApplication();
  ~QuorApplication();
  QuorApplication(const QuorApplication&) = delete;
  QuorApplication& operator=(const QuorApplication&) = delete;

  // Shows the main window centred on the screen.
  void Start();

  // Opens the files named on the command line (a file manager passes the one that was
  // double-clicked), each by its extension: a transformer description (.trd) in the
  // main window, a structure description (.cap) in the structure window, which is
  // shown. A file of another type, or one that cannot be
  // read, ends with an error box naming it; the files after it are still opened.
  void OpenFiles(const QStringList& paths);

  TForm1& Form1() { return *form1_; }
  TForm2& Form2() { return *form2_; }
  TFstraight& Fstraight() { return *fstraight_; }
  TFtoroid& Ftoroid() { return *ftoroid_; }
  TFpartial& Fpartial() { return *fpartial_; }
  TFdisk& Fdisk() { return *fdisk_; }
  TFcacal& Fcacal() { return *fcacal_; }
  TFesferas& Fesferas() { return *fesferas_; }
  TFparametros& Fparametros() { return *fparametros_; }
  TFresonator& Fresonator() { return *fresonator_; }

  // The breakdown field of air, set by the Parameters window and read by the
  // electrostatic windows.
  BreakdownField& Breakdown() { return breakdown_; }

  // The windows in the order they were created, the main window first.
  const std::vector<QWidget*>& Windows() const { return windows_; }

 private:
  template <class Form>
  std::unique_ptr<Form> Create();
  void ConnectMenu();

  BreakdownField breakdown_;
  std::vector<QWidget*> windows_;
  std::unique_ptr<TForm1> form1_;
  std::unique_ptr<TForm2> form2_;
  std::unique_ptr<TFstraight> fstraight_;
  std::unique_ptr<TFtoroid> ftoroid_;
  std::unique_ptr<TFpartial> fpartial_;
  std::unique_ptr<TFdisk> fdisk_;
  std::unique_ptr<TFcacal> fcacal_;
  std::unique_ptr<TFesferas> fesferas_;
  std::unique_ptr<TFparametros> fparametros_;
  std::unique_ptr<TFresonator> fresonator_;
};

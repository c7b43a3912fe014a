// quor FILE...: the files a file manager hands over are opened in their windows.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include <QPushButton>

#include "transformer/coil_pair.h"
#include "transformer/trd_file.h"
#include "ui/application.h"
#include "numerics/library_namespaces.h"

namespace {

QString TempFile(const QString& name, const QByteArray& content) {
  const QString dir = QDir::tempPath() + QStringLiteral("/quor_open_files_test");
  QDir().mkpath(dir);
  QFile f(dir + "/" + name);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(content);
  return f.fileName();
}

// A one-conductor description unlike the window's sample.
const QByteArray kSphere = "* A sphere\r\nCball ball 20 0 0 0.5 -90 90\r\n";

struct Opened {
  QuorApplication app;
  QStringList errors;  // error boxes, of the main window and of the structure window
  Opened() {
    app.Form1().showFault = [this](const QString& m) { errors << m; };
    app.Fcacal().showError = [this](const QString& m) { errors << m; };
    app.Start();
  }
};

}  // namespace

TEST(OpenFiles, EachFileOpensInItsWindow) {
  FieldValues coils = DefaultValues(TransformerFieldDefs());
  for (auto [field, text] : {std::pair{"En1", "7"}, {"Er2", "0.05"}}) coils[field] = text;
  const QString trd = TempFile(QStringLiteral("pair.trd"), {});
  SaveTrdFile(trd.toStdString(), coils);
  for (const char* name : {"sphere.cap", "SPHERE.CAP"}) {
    Opened o;
    o.app.OpenFiles({trd, TempFile(QString::fromLatin1(name), kSphere)});
    EXPECT_TRUE(o.errors.isEmpty()) << name;
    TForm1& main = o.app.Form1();
    EXPECT_EQ(main.En1->text(), QStringLiteral("7"));
    EXPECT_EQ(main.Er2->text(), QStringLiteral("0.05"));
    EXPECT_TRUE(main.Bcalc->isEnabled());
    TFcacal& f = o.app.Fcacal();
    EXPECT_TRUE(f.isVisible()) << name;
    EXPECT_EQ(f.MlistaLines(),
              (std::vector<std::string>{"* A sphere", "Cball ball 20 0 0 0.5 -90 90"}));
    ASSERT_TRUE(f.Parsed()) << name;
    // The description read is the file's, not the sample's two plates.
    EXPECT_EQ(f.Description().conductors.size(), 1u);
  }
}

TEST(OpenFiles, UnreadableOrForeignFilesEndInAnErrorBoxAndTheRestStillOpen) {
  Opened o;
  const QString missing = QDir::tempPath() + QStringLiteral("/quor_no_such_dir/x.cap");
  const QString missingTrd = QDir::tempPath() + QStringLiteral("/quor_no_such_dir/x.trd");
  const QString foreign = TempFile(QStringLiteral("notes.txt"), "hello\n");
  const QString good = TempFile(QStringLiteral("ball.cap"), kSphere);
  o.app.OpenFiles({missing, missingTrd, foreign, good});
  ASSERT_EQ(o.errors.size(), 3);
  EXPECT_TRUE(o.errors[0].contains(missing)) << o.errors[0].toStdString();
  EXPECT_TRUE(o.errors[1].contains(missingTrd)) << o.errors[1].toStdString();
  EXPECT_TRUE(o.errors[2].contains(foreign)) << o.errors[2].toStdString();
  EXPECT_EQ(o.app.Fcacal().Description().conductors.size(), 1u);
  // The main window stays as it started.
  EXPECT_EQ(o.app.Form1().En1->text(), QStringLiteral("12"));
}

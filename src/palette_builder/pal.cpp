#include "palette_builder/pal.h"

#include <QFileDialog>
#include <QFont>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <system_error>

#include "palette_builder/file_save.h"
#include "palette_builder/paint_area.h"
#include "palette_builder/presets.h"
#include "palette_builder/xpl_file.h"

namespace {

const QString kFilter = QStringLiteral("Paletas de cores (*.xpl)");

QFont PixelFont(int pixels) {
  QFont f(QStringLiteral("Sans Serif"));
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(pixels);
  return f;
}

// The pure colour of a channel at intensity v.
QColor ChannelColor(int a, int v) {
  return QColor(a == 0 ? v : 0, a == 1 ? v : 0, a == 2 ? v : 0);
}

}  // namespace

TFpal::TFpal(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Fpal"));
  setWindowTitle(QStringLiteral("Construtor de Paletas de Cores"));
  setFont(PixelFont(16));
  const QFont small = PixelFont(11);

  MainMenu = new QMenuBar(this);
  MainMenu->setObjectName(QStringLiteral("MainMenu"));
  MainMenu->setFont(small);
  Presets = MainMenu->addMenu(QStringLiteral("Presets"));
  Presets->setObjectName(QStringLiteral("Presets"));
  Presets->setFont(small);
  for (int i = 0; i < static_cast<int>(PalettePresets().size()); ++i) {
    QAction* item = Presets->addAction(QString::fromUtf8(PalettePresets()[i].name));
    connect(item, &QAction::triggered, this, [this, i] { PresetClick(i); });
  }

  // Everything else at fixed places on a panel under the menu bar: the boxes are
  // scales (one pixel row per palette entry, one column per quarter of intensity).
  Panel = new QWidget(this);
  Panel->setObjectName(QStringLiteral("Panel"));
  Panel->setFixedSize(kPanelWidth, kPanelHeight);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(MainMenu);
  layout->addWidget(Panel, 0, Qt::AlignLeft | Qt::AlignTop);

  constexpr int kBoxTop = 14;  // under the R, G, B labels
  Label1 = new QLabel(QStringLiteral("Mínimo"), Panel);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setFont(small);
  Label1->move(8, kBoxTop);
  Label1->adjustSize();
  Label2 = new QLabel(QStringLiteral("Máximo"), Panel);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setFont(small);
  Label2->move(8, kBoxTop + 240);
  Label2->adjustSize();

  PBred = new PaintArea(56, kBoxTop, kCurveColumns, kPaletteEntries, Panel);
  PBgreen = new PaintArea(128, kBoxTop, kCurveColumns, kPaletteEntries, Panel);
  PBblue = new PaintArea(200, kBoxTop, kCurveColumns, kPaletteEntries, Panel);
  PBpal = new PaintArea(272, kBoxTop, kCurveColumns, kPaletteEntries, Panel);
  PBred->setObjectName(QStringLiteral("PBred"));
  PBgreen->setObjectName(QStringLiteral("PBgreen"));
  PBblue->setObjectName(QStringLiteral("PBblue"));
  PBpal->setObjectName(QStringLiteral("PBpal"));
  PBred->onPaint = [this](QPainter& p) { PBredPaint(p); };
  PBgreen->onPaint = [this](QPainter& p) { PBgreenPaint(p); };
  PBblue->onPaint = [this](QPainter& p) { PBbluePaint(p); };
  PBpal->onPaint = [this](QPainter& p) { PBpalPaint(p); };
  PBred->onMouseDown = [this](int x, int y) { PBredMouseDown(x, y); };
  PBgreen->onMouseDown = [this](int x, int y) { PBgreenMouseDown(x, y); };
  PBblue->onMouseDown = [this](int x, int y) { PBblueMouseDown(x, y); };

  // Each channel's letter centred over its box.
  const auto letter = [&](const char* name, const char* text, const PaintArea* box) {
    auto* l = new QLabel(QString::fromLatin1(text), Panel);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(small);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    l->setGeometry(box->x(), 0, box->width(), kBoxTop);
    return l;
  };
  Lred = letter("Lred", "R", PBred);
  Lgreen = letter("Lgreen", "G", PBgreen);
  Lblue = letter("Lblue", "B", PBblue);

  constexpr int kButtonTop = kBoxTop + kPaletteEntries + 8;
  Bler = new QPushButton(QStringLiteral("Ler"), Panel);
  Bler->setObjectName(QStringLiteral("Bler"));
  Bler->setFont(small);
  Bler->setGeometry(176, kButtonTop, 75, 25);
  connect(Bler, &QPushButton::clicked, this, &TFpal::BlerClick);
  Salvar = new QPushButton(QStringLiteral("Salvar"), Panel);
  Salvar->setObjectName(QStringLiteral("Salvar"));
  Salvar->setFont(small);
  Salvar->setGeometry(264, kButtonTop, 75, 25);
  connect(Salvar, &QPushButton::clicked, this, &TFpal::SalvarClick);
  static_assert(kButtonTop + 25 + 4 == kPanelHeight && 264 + 75 + 8 == kPanelWidth);

  // Until a window manager frames the window there is no frame: the inside is the
  // whole size.
  setFixedSize(InsideSizeFor(QMargins()));

  // No default extension: the name is used as typed.
  OpenDialog1 = [this] { return QFileDialog::getOpenFileName(this, QString(), QString(), kFilter); };
  SaveDialog1 = [this] { return QFileDialog::getSaveFileName(this, QString(), QString(), kFilter); };
  showError = [this](const QString& message) {
    QMessageBox::critical(this, QString::fromLatin1(kTintorTitle), message);
  };

  FormCreate();
}

void TFpal::FormCreate() { model_ = StartPalette(); }

QSize TFpal::InsideSizeFor(const QMargins& frame) const {
  // A menu bar shown by the desktop outside the window takes no room in it.
  const int menu = MainMenu->isNativeMenuBar() ? 0 : MainMenu->sizeHint().height();
  return {std::max(kWidth - frame.left() - frame.right(), kPanelWidth),
          std::max(kHeight - frame.top() - frame.bottom(), menu + kPanelHeight)};
}

void TFpal::FitFrame() {
  const QWindow* w = windowHandle();
  const QSize inside = InsideSizeFor(w ? w->frameMargins() : QMargins());
  if (size() != inside) setFixedSize(inside);
}

bool TFpal::event(QEvent* e) {
  const bool done = QWidget::event(e);
  if (e->type() == QEvent::Show || e->type() == QEvent::Move) FitFrame();
  return done;
}

void TFpal::PresetClick(int index) {
  if (index < 0 || index >= static_cast<int>(PalettePresets().size())) return;
  ApplyPreset(model_, PalettePresets()[static_cast<std::size_t>(index)]);
  RepaintAll();
}

PaintArea* TFpal::ChannelBox(int a) const { return a == 0 ? PBred : a == 1 ? PBgreen : PBblue; }

void TFpal::DrawChannel(int a, QPainter& box) {
  RecomputeChannel(model_, a);
  // Each row in the channel's colour; the line runs past the box, which clips it.
  for (int y = 0; y < kPaletteEntries; ++y) {
    box.setPen(ChannelColor(a, model_.palette[a][y]));
    box.drawLine(0, y, 127, y);
  }
  box.setPen(Qt::white);
  box.setBrush(Qt::NoBrush);
  const auto& X = model_.X[a];
  const auto& Y = model_.Y[a];
  // An 8-pixel square frame around each point, from (X - 4, Y - 4) to (X + 3, Y + 3).
  box.drawRect(X[0] - 4, Y[0] - 4, 7, 7);
  for (int i = 1; i < model_.count[a] && i < kControlPoints; ++i) {
    box.drawLine(X[i - 1], Y[i - 1], X[i], Y[i]);
    box.drawRect(X[i] - 4, Y[i] - 4, 7, 7);
  }
}

void TFpal::EditChannel(int a, int x, int y) {
  MoveControlPoint(model_, a, x, y);
  // The box's repaint draws the new curve; the colours are recomputed at once as well,
  // so that the palette is right even before the window gets to paint.
  RecomputeChannel(model_, a);
  ChannelBox(a)->update();
  PBpal->update();
}

void TFpal::PBredPaint(QPainter& box) {
  DrawChannel(0, box);
  PBpal->update();
}

void TFpal::PBgreenPaint(QPainter& box) {
  DrawChannel(1, box);
  PBpal->update();
}

void TFpal::PBbluePaint(QPainter& box) {
  DrawChannel(2, box);
  PBpal->update();
}

void TFpal::PBpalPaint(QPainter& box) {
  for (int y = 0; y < kPaletteEntries; ++y) {
    box.setPen(QColor(model_.palette[0][y], model_.palette[1][y], model_.palette[2][y]));
    box.drawLine(0, y, kCurveColumns - 1, y);
  }
}

void TFpal::PBredMouseDown(int x, int y) { EditChannel(0, x, y); }
void TFpal::PBgreenMouseDown(int x, int y) { EditChannel(1, x, y); }
void TFpal::PBblueMouseDown(int x, int y) { EditChannel(2, x, y); }

void TFpal::BlerClick() {
  const QString name = OpenDialog1 ? OpenDialog1() : QString();
  // A file that cannot be read is passed over in silence, the palette unchanged.
  if (!name.isEmpty()) LoadXplFile(name.toStdString(), model_);
  RepaintAll();
}

bool TFpal::OpenFile(const QString& name) {
  const bool loaded = LoadXplFile(name.toStdString(), model_).has_value();
  if (!loaded && showError)
    showError(QStringLiteral("Não foi possível ler a paleta %1").arg(name));
  RepaintAll();
  return loaded;
}

void TFpal::RepaintAll() {
  PBred->update();
  PBgreen->update();
  PBblue->update();
  PBpal->update();
}

void TFpal::SalvarClick() {
  const QString name = SaveDialog1 ? SaveDialog1() : QString();
  if (name.isEmpty()) return;
  try {
    SaveXplFile(name.toStdString(), model_);
  } catch (const SaveError& e) {
    // The old file, if any, is as it was. When the folder is the cause it is named.
    if (!showError) return;
    const QString reason = QString::fromStdString(e.code().message());
    if (e.folder().empty())
      showError(QStringLiteral("Não foi possível salvar a paleta em %1: %2").arg(name, reason));
    else
      showError(QStringLiteral("Não foi possível salvar a paleta em %1 (pasta %2): %3")
                    .arg(name, QString::fromStdString(e.folder()), reason));
  }
}

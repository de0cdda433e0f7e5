#include "canvas/QLayerRender.h"

#include "colour/QColorBox.h"
#include "core/IniSettings.h"
#include "model/CharacterData.h"
#include "ops/PreviewStep.h"
#include "ops/RenderView.h"

#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>

namespace {

// The range of the period field; a stored period outside it would either spin
// the processor (0) or stop the animation for good (negative).
constexpr int kMinPeriod = 50;
constexpr int kMaxPeriod = 60000;

} // namespace

QLayerRender::QLayerRender(CharacterData* character, QWidget* parent)
  : QLabel(parent), timer(nullptr), character(character), background(Qt::white), lastCellSize(),
    buttonHover(false), buttonHoverDrawn(false), period(1000), propertyDialog(nullptr), container(parent),
    periodBox(nullptr), stopBox(nullptr)
{
  setMouseTracking(true);
  setAlignment(Qt::AlignTop);

  {
    IniSettings settings;
    settings.getValue("periode", period);
    period = std::clamp(period, kMinPeriod, kMaxPeriod);
    int argb = static_cast<int>(background.rgba());
    if (settings.getValue("backgroundColor", argb))
      background = QColor::fromRgba(static_cast<QRgb>(argb));
  }

  timer = new QTimer(this);
  connect(timer, &QTimer::timeout, this, &QLayerRender::refresh);
  timer->start(period);

  refresh();
  // The dock is only laid out once the window is built: the first tick lays
  // the widget and the dock out again.
  lastCellSize = QSize(0, 0);
  drawButtons();
}

QLayerRender::~QLayerRender() = default;

void QLayerRender::setCharacterData(CharacterData* data)
{
  character = data;
}

QSize QLayerRender::renderSize() const
{
  return QSize(character->size().width() + kStripWidth, character->size().height() / 4);
}

std::array<QPixmap, 4> QLayerRender::currentFrames()
{
  std::vector<qint64> key = compositionKey(*character);
  if (character != framesOf || key != framesKey) {
    framesOf = character;
    framesKey = std::move(key);
    frames = {};
  }
  auto& kept = frames[std::size_t(currentPreviewStep())];
  if (kept) {
    advancePreviewStep();
    return *kept;
  }
  kept = character->previewPixmaps();
  return *kept;
}

// A hidden dock computes nothing; it catches up when shown.
void QLayerRender::showEvent(QShowEvent* event)
{
  QLabel::showEvent(event);
  if (!event->spontaneous())
    refresh();
}

void QLayerRender::refresh()
{
  if (window()->isVisible() && !isVisible())
    return;
  const std::array<QPixmap, 4> shown = currentFrames();
  const int w = character->size().width();
  const int h = character->size().height();
  // Always four cell widths, whatever the layout's column count.
  const int W = character->type() == XP ? w : (4 * w) / 3;

  const bool relayout = character->cellSize() != lastCellSize;
  if (relayout) {
    const int hh = std::max(kStripWidth, h / 4);
    if (container) {
      container->setMinimumSize(W + kStripWidth, hh);
      container->resize(W + kStripWidth, hh);
    }
    setFixedSize(W + kStripWidth, hh);
    setGeometry(0, 0, W + kStripWidth, hh);
    canvas = QPixmap(W + kStripWidth, hh);
  }

  {
    QPainter painter(&canvas);
    painter.fillRect(0, 0, W, canvas.height(), background);
    // Short cells sit in the middle of the 45-pixel least height.
    const int y0 = std::max(0, static_cast<int>(22.5 - h * 0.125));
    for (int k = 0; k < 4; ++k)
      painter.drawPixmap((k * W) / 4, y0, shown[k]);
  }

  if (relayout) {
    drawButtons();
    lastCellSize = character->cellSize();
  } else {
    setPixmap(canvas);
  }
}

void QLayerRender::drawButtons()
{
  const int w = canvas.width();
  const int h = canvas.height();
  {
    QPainter painter(&canvas);
    painter.fillRect(w - kStripWidth, 0, kStripWidth, h, Qt::white);
    const bool running = timer->isActive();
    QString icon = running ? QStringLiteral(":/icon/pause") : QStringLiteral(":/icon/lecture");
    if (buttonHover)
      icon += QStringLiteral("_hover");
    painter.drawPixmap(w - kStripWidth, 0, QPixmap(icon + QStringLiteral(".png")));
  }
  setPixmap(canvas);
}

bool QLayerRender::inStrip(const QPoint& p) const
{
  const int w = canvas.width();
  const int h = canvas.height();
  return p.x() >= w - kStripWidth && p.x() <= w - 1 && p.y() >= 0 && p.y() <= h - 1;
}

void QLayerRender::mouseMoveEvent(QMouseEvent* event)
{
  buttonHover = inStrip(event->position().toPoint());
  if (buttonHover != buttonHoverDrawn) {
    drawButtons();
    buttonHoverDrawn = buttonHover;
  }
}

void QLayerRender::leaveEvent(QEvent*)
{
  buttonHover = false;
  if (buttonHoverDrawn) {
    drawButtons();
    buttonHoverDrawn = false;
  }
}

void QLayerRender::mouseReleaseEvent(QMouseEvent* event)
{
  if (event->button() == Qt::LeftButton) {
    if (!inStrip(event->position().toPoint()))
      return;
    if (timer->isActive())
      timer->stop();
    else
      timer->start(period);
    drawButtons();
  } else if (event->button() == Qt::RightButton) {
    QMenu* menu = new QMenu(QStringLiteral("Actions"), this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* edit = menu->addAction(QIcon(QStringLiteral(":/icon/book.png")), QStringLiteral("Modifier les propriétés"));
    connect(edit, &QAction::triggered, this, &QLayerRender::showProperty);
    menu->popup(event->globalPosition().toPoint());
  }
}

void QLayerRender::mouseDoubleClickEvent(QMouseEvent*)
{
  showProperty();
}

void QLayerRender::showProperty()
{
  // One dialog at a time: the dialog's fields are members, and a second
  // dialog would leave the first one's buttons acting on fields gone with it.
  if (propertyDialog)
    propertyDialog->close();

  QDialog* dialog = new QDialog(this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  propertyDialog = dialog;
  pendingColor = background;

  QFormLayout* form = new QFormLayout(dialog);
  periodBox = new QSpinBox;
  periodBox->setSuffix(QStringLiteral(" ms"));
  periodBox->setRange(kMinPeriod, kMaxPeriod);
  periodBox->setValue(period);
  form->addRow(QStringLiteral("Temps entre deux mouvements (1000 ms = 1 s)"), periodBox);

  stopBox = new QCheckBox(QStringLiteral("Stopper le rendu"));
  stopBox->setChecked(!timer->isActive());
  QPushButton* colorButton =
      new QPushButton(QIcon(QStringLiteral(":/icon/cerclechrom.png")), QStringLiteral("Changer la couleur d'arrière plan"));
  connect(colorButton, &QPushButton::clicked, this, &QLayerRender::changeColor);
  form->addRow(stopBox, colorButton);

  QHBoxLayout* buttons = new QHBoxLayout;
  QPushButton* ok = new QPushButton(QIcon(QStringLiteral(":/icon/ok.png")), QStringLiteral("Valider"));
  ok->setDefault(true);
  QPushButton* cancel = new QPushButton(QIcon(QStringLiteral(":/icon/remove.png")), QStringLiteral("Annuler"));
  buttons->addWidget(ok, 10, Qt::AlignRight);
  buttons->addWidget(cancel, 0, Qt::AlignRight);
  connect(ok, &QPushButton::clicked, this, &QLayerRender::changeProperty);
  connect(cancel, &QPushButton::clicked, dialog, &QDialog::close);
  form->addRow(buttons);

  dialog->setWindowTitle(QStringLiteral("Propriétés du rendu"));
  dialog->setWindowIcon(QIcon(QStringLiteral(":/icon/book.png")));
  dialog->setFixedSize(dialog->sizeHint());
  dialog->show();
}

void QLayerRender::changeColor()
{
  QColor color = pendingColor;
  bool ok = false;
  QColorBox::getColor(color, &ok, false, QStringLiteral("Choisir une couleur"), propertyDialog);
  if (ok)
    pendingColor = color;
}

void QLayerRender::changeProperty()
{
  if (!propertyDialog)
    return;
  period = periodBox->value();
  background = pendingColor;
  if (stopBox->isChecked())
    timer->stop();
  else
    timer->start(period);
  propertyDialog->close();
  drawButtons();

  IniSettings settings;
  settings.setValue("Render", "periode", period);
  settings.setValue("Render", "backgroundColor", static_cast<int>(background.rgba()));
}

#include "colour/QColorBox.h"

#include "colour/QColorLittleBox.h"
#include "colour/QColorPalette.h"
#include "colour/QColorSlide.h"
#include "colour/QSpectrum.h"
#include "core/IniSettings.h"
#include "core/PathUtils.h"
#include "widgets/Prompts.h"
#include "widgets/QLabelClickable.h"

#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QHBoxLayout* sliderRow(QColorSlide* slide, QSpinBox* spin)
{
  auto* row = new QHBoxLayout;
  row->addWidget(slide);
  row->addWidget(spin);
  return row;
}

QHBoxLayout* titleRow(const QString& title)
{
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(title));
  auto* line = new QFrame;
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  row->addWidget(line);
  return row;
}

QHBoxLayout* hexRow(QLineEdit* hexEdit)
{
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QStringLiteral("Hexadécimal")));
  row->addWidget(hexEdit, 0, Qt::AlignRight);
  return row;
}

QFormLayout* form(std::initializer_list<std::pair<const char*, QHBoxLayout*>> rows)
{
  auto* out = new QFormLayout;
  for (const auto& [label, row] : rows)
    out->addRow(QString::fromUtf8(label), row);
  return out;
}

} // namespace

QColorBox::QColorBox(QColor* primary, QColor* secondary, bool alphaEnabled, QWidget* parent) : QDialog(parent)
{
  colorChoice = new QComboBox(this);
  colorChoice->setObjectName(QStringLiteral("colorChoice"));
  colorChoice->addItem(QStringLiteral("Couleur primaire"));
  colorChoice->addItem(QStringLiteral("Couleur secondaire"));
  palette = new QColorPalette(QSize(10, 10), QSize(20, 6), this);
  this->primary = primary;
  this->alphaEnabled = alphaEnabled;
  this->secondary = secondary;
  createWidgets();
  secondaryBox = new QColorLittleBox(secondary, alphaEnabled, this);
  secondaryBox->setObjectName(QStringLiteral("secondaryBox"));
  invertLabel = new QLabelClickable(this);
  invertLabel->setObjectName(QStringLiteral("invertLabel"));
  invertLabel->setAlignment(Qt::AlignCenter);
  invertLabel->setPixmap(QPixmap(QStringLiteral(":/icon/inversion.png")));
  createSlidersAndButtons();
  layDock();

  // Secondary first, so the widgets end on the primary, which is current.
  updateColor(*secondary, false, 1, true);
  changeAlpha(secondary->alpha(), 1);
  updateColor(*primary, false, 0, true);
  changeAlpha(primary->alpha(), 0);
  connectWidgets(nullptr, nullptr);
}

QColorBox::QColorBox(QColor* color, bool alphaEnabled, QWidget* parent) : QDialog(parent)
{
  colorChoice = new QComboBox(this);
  colorChoice->setObjectName(QStringLiteral("colorChoice"));
  colorChoice->addItem(QStringLiteral("Couleur primaire"));
  colorChoice->hide(); // the one colour stays current
  setWindowIcon(QIcon(QStringLiteral(":/icon/SK.png")));
  palette = new QColorPalette(QSize(12, 12), QSize(33, 6), this);
  primary = color;
  this->alphaEnabled = alphaEnabled;
  createWidgets();
  createSlidersAndButtons();
  auto* validate = new QPushButton(QIcon(QStringLiteral(":/icon/ok.png")), QStringLiteral("Valider"), this);
  validate->setDefault(true);
  auto* cancel = new QPushButton(QIcon(QStringLiteral(":/icon/remove.png")), QStringLiteral("Annuler"), this);
  if (!alphaEnabled) {
    alphaSpin->setValue(255);
    alphaSpin->setEnabled(false);
    alphaSlide->setEnabled(false);
  }
  layDialog(validate, cancel);

  updateColor(*color, false, 0, true);
  changeAlpha(color->alpha(), 0);
  connectWidgets(validate, cancel);
}

// The spin boxes on the primary colour, the hexadecimal field and the
// primary swatch, alike in both forms.
void QColorBox::createWidgets()
{
  const QColor start = *primary;
  auto spin = [this](const char* name, int max, int value) {
    auto* s = new QSpinBox(this);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(0, max);
    s->setValue(value); // an achromatic hue of -1 lands on 0
    return s;
  };
  redSpin = spin("redSpin", 255, start.red());
  greenSpin = spin("greenSpin", 255, start.green());
  blueSpin = spin("blueSpin", 255, start.blue());
  hueSpin = spin("hueSpin", 360, start.hue());
  saturationSpin = spin("saturationSpin", 255, start.saturation());
  valueSpin = spin("valueSpin", 255, start.value());
  alphaSpin = spin("alphaSpin", 255, start.alpha());

  hexEdit = new QLineEdit(this);
  hexEdit->setObjectName(QStringLiteral("hexEdit"));
  hexEdit->setMaxLength(6);
  hexEdit->setFixedWidth(60);
  hexEdit->setAlignment(Qt::AlignRight);
  primaryBox = new QColorLittleBox(primary, alphaEnabled, this);
  primaryBox->setObjectName(QStringLiteral("primaryBox"));
}

void QColorBox::createSlidersAndButtons()
{
  spectrum = new QSpectrum(200, *primary, this);
  auto slide = [this](const char* name, int mode) {
    auto* s = new QColorSlide(*primary, mode, this);
    s->setObjectName(QString::fromLatin1(name));
    return s;
  };
  redSlide = slide("redSlide", QColorSlide::Red);
  greenSlide = slide("greenSlide", QColorSlide::Green);
  blueSlide = slide("blueSlide", QColorSlide::Blue);
  hueSlide = slide("hueSlide", QColorSlide::Hue);
  saturationSlide = slide("saturationSlide", QColorSlide::Saturation);
  valueSlide = slide("valueSlide", QColorSlide::Value);
  alphaSlide = slide("alphaSlide", QColorSlide::Alpha);

  paletteButton = new QPushButton(QStringLiteral("Palette"), this);
  auto* menu = new QMenu(paletteButton);
  savePaletteAction = menu->addAction(QStringLiteral("Enregistrer la palette actuelle"));
  openPaletteAction = menu->addAction(QStringLiteral("Ouvrir une palette"));
  menu->addSeparator();
  defaultPaletteAction = menu->addAction(QStringLiteral("Restaurer la palette par défaut"));
  paletteButton->setMenu(menu);
  addButton =
      new QPushButton(QIcon(QStringLiteral(":/icon/addToPalette.png")), QStringLiteral("Ajouter la couleur"), this);
  addButton->setObjectName(QStringLiteral("addButton"));
  addButton->setToolTip(QStringLiteral("Ajoute la couleur active à la palette"));
  addButton->setCheckable(true);
  palette->setObjectName(QStringLiteral("palette"));
}

// The RGB rows, the hexadecimal field and the HSV rows, alike in both forms.
void QColorBox::layChannels(QVBoxLayout* into)
{
  into->addLayout(titleRow(QStringLiteral("Rouge Vert Bleu")));
  into->addLayout(form({{"R", sliderRow(redSlide, redSpin)},
                        {"V", sliderRow(greenSlide, greenSpin)},
                        {"B", sliderRow(blueSlide, blueSpin)}}));
  into->addLayout(hexRow(hexEdit));
  into->addLayout(titleRow(QStringLiteral("Teinte Saturation Valeur")));
  into->addLayout(form({{"T", sliderRow(hueSlide, hueSpin)},
                        {"S", sliderRow(saturationSlide, saturationSpin)},
                        {"V", sliderRow(valueSlide, valueSpin)}}));
}

void QColorBox::layDock()
{
  auto* box = new QVBoxLayout;
  auto* choice = new QHBoxLayout;
  choice->addWidget(new QLabel(QStringLiteral("Couleur active")));
  choice->addWidget(colorChoice);
  box->addLayout(choice);
  box->addWidget(spectrum, 0, Qt::AlignCenter);
  auto* swatches = new QHBoxLayout;
  swatches->addWidget(primaryBox, 0, Qt::AlignCenter);
  swatches->addWidget(invertLabel, 0, Qt::AlignCenter);
  swatches->addWidget(secondaryBox, 0, Qt::AlignCenter);
  box->addLayout(swatches);
  layChannels(box);
  if (alphaEnabled) {
    box->addLayout(form({{"Transparence", sliderRow(alphaSlide, alphaSpin)}}));
  } else {
    // Still refreshed with the others, never shown.
    alphaSlide->hide();
    alphaSpin->hide();
  }
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(addButton);
  buttons->addWidget(paletteButton);
  box->addLayout(buttons);
  box->addWidget(palette, 0, Qt::AlignCenter);
  setLayout(box);
}

void QColorBox::layDialog(QPushButton* validate, QPushButton* cancel)
{
  auto* left = new QVBoxLayout;
  left->addWidget(spectrum, 0, Qt::AlignCenter);
  auto* current = new QHBoxLayout;
  current->addWidget(new QLabel(QStringLiteral("Couleur actuelle")));
  current->addWidget(primaryBox, 0, Qt::AlignRight);
  left->addLayout(current);

  auto* right = new QVBoxLayout;
  layChannels(right);
  right->addLayout(form({{"Transparence", sliderRow(alphaSlide, alphaSpin)}}));

  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addLayout(right);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(addButton, 0, Qt::AlignLeft);
  buttons->addWidget(paletteButton, 10, Qt::AlignLeft);
  buttons->addWidget(validate, 10, Qt::AlignRight);
  buttons->addWidget(cancel, 0, Qt::AlignRight);
  auto* box = new QVBoxLayout;
  box->addLayout(top);
  box->addLayout(buttons);
  box->addWidget(palette, 0, Qt::AlignCenter);
  setLayout(box);
}

void QColorBox::connectWidgets(QPushButton* validate, QPushButton* cancel)
{
  auto toUpdate = [this](QColor c) { updateColor(c); };
  connect(spectrum, &QSpectrum::changeColor, this, toUpdate);
  for (QColorSlide* s : {redSlide, greenSlide, blueSlide, hueSlide, saturationSlide, valueSlide})
    connect(s, &QColorSlide::changeColor, this, toUpdate);
  const std::pair<QSpinBox*, QColorSlide*> pairs[] = {{redSpin, redSlide},           {greenSpin, greenSlide},
                                                      {blueSpin, blueSlide},         {hueSpin, hueSlide},
                                                      {saturationSpin, saturationSlide}, {valueSpin, valueSlide}};
  for (const auto& [spin, slide] : pairs)
    connect(spin, &QSpinBox::valueChanged, slide, &QColorSlide::setValue);
  connect(alphaSpin, &QSpinBox::valueChanged, this, [this](int a) { changeAlphaLabel(a); });
  connect(alphaSlide, &QColorSlide::changeValue, this, [this](int a) { changeAlpha(a); });
  connect(colorChoice, &QComboBox::currentIndexChanged, this, &QColorBox::changeIndex);
  if (isDock()) {
    connect(invertLabel, &QLabelClickable::clicked, this, &QColorBox::invertColor);
    connect(primaryBox, &QColorLittleBox::clicked, this, &QColorBox::toPrimary);
    connect(secondaryBox, &QColorLittleBox::clicked, this, &QColorBox::toSecondary);
  }
  connect(palette, &QColorPalette::changeColor, this, qOverload<QColor>(&QColorBox::setColor));
  connect(palette, &QColorPalette::added, this, &QColorBox::addedColor);
  connect(savePaletteAction, &QAction::triggered, palette, qOverload<>(&QColorPalette::save));
  connect(defaultPaletteAction, &QAction::triggered, palette, qOverload<>(&QColorPalette::load));
  connect(openPaletteAction, &QAction::triggered, this, &QColorBox::loadPalette);
  connect(addButton, &QPushButton::toggled, this, &QColorBox::setAdd);
  connect(hexEdit, &QLineEdit::textEdited, this, &QColorBox::hexa2rgb);
  if (cancel)
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
  if (validate)
    connect(validate, &QPushButton::clicked, this, &QDialog::accept);
}

QColor* QColorBox::target(int forcing) const
{
  if (forcing == -1)
    forcing = colorChoice->currentIndex();
  if (forcing == 0)
    return primary;
  if (forcing == 1)
    return secondary; // null in the dialog form
  return nullptr;
}

QColorLittleBox* QColorBox::swatchOf(const QColor* colour) const
{
  return colour == primary ? primaryBox : secondaryBox;
}

QColor QColorBox::currentColor()
{
  const QColor c = colorChoice->currentIndex() == 0 || !secondary ? *primary : *secondary;
  return alphaEnabled ? c : QColor(c.rgb());
}

QColor QColorBox::otherColor()
{
  if (!isDock())
    return currentColor();
  const QColor c = colorChoice->currentIndex() == 1 ? *primary : *secondary;
  return alphaEnabled ? c : QColor(c.rgb());
}

void QColorBox::getColor(QColor& color, bool* ok, bool alphaEnabled, QString title, QWidget* parent)
{
  bool accepted = false;
  if (prompts().color) {
    accepted = prompts().color(parent, color, alphaEnabled, title);
  } else {
    QColorBox box(&color, alphaEnabled, parent);
    box.setWindowTitle(title);
    box.setFixedSize(box.sizeHint());
    accepted = prompts().runDialog(box) == QDialog::Accepted;
  }
  if (ok)
    *ok = accepted;
  if (!alphaEnabled)
    color = QColor(color.rgb());
}

void QColorBox::updateColor(QColor new_color, bool keepAlpha, int forcing, bool toHexa)
{
  spectrum->setColor(new_color);
  const std::pair<QColorSlide*, std::pair<QSpinBox*, int>> channels[] = {
      {redSlide, {redSpin, new_color.red()}},
      {greenSlide, {greenSpin, new_color.green()}},
      {blueSlide, {blueSpin, new_color.blue()}},
      {hueSlide, {hueSpin, new_color.hue()}},
      {saturationSlide, {saturationSpin, new_color.saturation()}},
      {valueSlide, {valueSpin, new_color.value()}}};
  // The spin box still drives its slider's setValue; with the slider mute,
  // nothing comes back here.
  for (const auto& [slide, spinValue] : channels) {
    slide->setColor(new_color, false);
    slide->setEmitChange(false);
    spinValue.first->setValue(spinValue.second);
    slide->setEmitChange(true);
  }
  if (toHexa)
    hexEdit->setText(QStringLiteral("%1%2%3")
                         .arg(new_color.red(), 2, 16, QLatin1Char('0'))
                         .arg(new_color.green(), 2, 16, QLatin1Char('0'))
                         .arg(new_color.blue(), 2, 16, QLatin1Char('0')));
  if (keepAlpha) {
    alphaSlide->setColor(new_color, false);
  } else {
    alphaSlide->setColor(new_color, true);
    alphaSlide->setEmitChange(false);
    alphaSpin->setValue(new_color.alpha()); // unguarded: writes the alpha into the current colour
    alphaSlide->setEmitChange(true);
  }
  if (QColor* written = target(forcing)) {
    written->setRgb(new_color.red(), new_color.green(), new_color.blue(), written->alpha());
    swatchOf(written)->update();
  }
}

void QColorBox::changeAlpha(int new_alpha, int forcing)
{
  alphaSpin->setValue(new_alpha);
  if (QColor* written = target(forcing)) {
    written->setAlpha(new_alpha);
    swatchOf(written)->update();
  }
}

void QColorBox::changeAlphaLabel(int new_alpha, int forcing)
{
  alphaSlide->setValue(new_alpha);
  if (QColor* written = target(forcing)) {
    written->setAlpha(new_alpha);
    swatchOf(written)->update();
  }
}

void QColorBox::refresh(QColor* colour, int forcing)
{
  updateColor(*colour, false, forcing, true);
  changeAlpha(colour->alpha(), forcing);
}

void QColorBox::changeIndex(int new_index)
{
  if (new_index != 0 && secondary)
    refresh(secondary, -1);
  else
    refresh(primary, -1);
}

void QColorBox::toPrimary()
{
  colorChoice->setCurrentIndex(0);
}

void QColorBox::toSecondary()
{
  if (isDock())
    colorChoice->setCurrentIndex(1);
}

void QColorBox::addedColor()
{
  addButton->setChecked(false);
}

void QColorBox::setAdd(bool b)
{
  palette->setAdd(b, currentColor());
}

void QColorBox::setColor(QColor new_color)
{
  QColor* current = target(-1);
  *current = new_color;
  refresh(current, -1);
}

void QColorBox::setColor(QColor new_color, int color_type)
{
  const int index = colorChoice->currentIndex();
  if ((color_type == 2 && index == 0) || (color_type == 3 && index == 1)) {
    setColor(new_color);
    return;
  }
  QColor* named = color_type == 3 ? secondary : primary;
  if (!named)
    return;
  *named = new_color;
  swatchOf(named)->update();
}

void QColorBox::loadPalette()
{
  const QString path = askInRememberedFolder(FileDialogKind::OpenFile, this, "pathLoadPalette",
                                             QStringLiteral("palette/"), QStringLiteral("Ouvrir une palette"),
                                             QStringLiteral("Palette Sorvel Kit (*.skp)"))
                           .value(0);
  if (path.isEmpty())
    return;
  // Stored before the load, so a file that fails stays named.
  if (!path.contains('?'))
    IniSettings().setValue("Color", "palette", path);
  if (!palette->load(path))
    prompts().message(this, QMessageBox::Warning, QStringLiteral("Erreur"), palette->getErrorMessage(), QString());
}

void QColorBox::invertColor()
{
  if (!isDock())
    return;
  std::swap(*primary, *secondary);
  // The colour that is not current first: alphaSpin still shows its alpha,
  // so the spin box's unguarded write changes nothing in the current colour.
  if (colorChoice->currentIndex() == 1) {
    refresh(primary, 0);
    refresh(secondary, 1);
  } else {
    refresh(secondary, 1);
    refresh(primary, 0);
  }
}

void QColorBox::hexa2rgb()
{
  const QString text = hexEdit->text().toUpper();
  QColor colour;
  int k = 0;
  int accumulator = 0;
  for (int i = text.size() - 1; i >= 0; --i) {
    const QChar ch = text[i];
    int digit;
    if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
      digit = ch.unicode() - '0';
    else if (ch >= QLatin1Char('A') && ch <= QLatin1Char('F'))
      digit = ch.unicode() - 'A' + 10;
    else
      continue;
    accumulator = k % 2 == 0 ? digit : accumulator + 16 * digit;
    switch (k / 2) {
    case 0:
      colour.setBlue(accumulator);
      break;
    case 1:
      colour.setGreen(accumulator);
      break;
    default:
      colour.setRed(accumulator);
      break;
    }
    if (k % 2 == 1)
      accumulator = 0;
    ++k;
  }
  if (k > 0)
    updateColor(colour, true, -1, false);
}

void QColorBox::reject()
{
  if (!isDock())
    QDialog::reject();
}

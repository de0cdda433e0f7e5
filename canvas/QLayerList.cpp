#include "canvas/QLayerList.h"

#include "canvas/QLayer.h"
#include "core/IniSettings.h"
#include "widgets/ElementLimit.h"
#include "widgets/Prompts.h"
#include "widgets/Questions.h"
#include "model/CharacterData.h"
#include "model/ClipBoard.h"

#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

int screenRows()
{
  const QScreen* screen = QGuiApplication::primaryScreen();
  return ElementListGeometry::rowsForScreen(screen ? screen->geometry().height() : 0);
}

// The keys the list handles itself while it has the focus, before any menu
// shortcut of the window can take them for the cells.
bool isListKey(const QKeyEvent* event)
{
  const int key = event->key();
  if (key == Qt::Key_Delete)
    return true;
  return (event->modifiers() & Qt::ControlModifier) && (key == Qt::Key_A || key == Qt::Key_I || key == Qt::Key_D);
}

} // namespace

QLayerList::QLayerList(CharacterData* document, ClipBoard** clipboard, QWidget* parent)
    : MovableElementList(document, screenRows(), 31, parent),
      clipboard(clipboard)
{
  setFocusPolicy(Qt::StrongFocus);
  updateLayout();
}

QLayerList::~QLayerList() = default;

void QLayerList::setCharacterData(CharacterData* document)
{
  character = document;
  updateLayout();
}

void QLayerList::setLayer(QLayer* canvas)
{
  layer = canvas;
}

void QLayerList::refresh()
{
  update();
}

void QLayerList::setNbreVertical(int rows)
{
  if (rows == nbreVertical)
    return;
  nbreVertical = rows;
  update();
}

void QLayerList::updateButtonEnable(QString text)
{
  if (validateButton)
    validateButton->setEnabled(!text.isEmpty());
}

// ---- undo steps and the canvas

// Every finished edit goes through the canvas, which renders and rebuilds
// this list with its step.
void QLayerList::pushStep(const std::string& label)
{
  if (layer)
    layer->recordEdit(label);
}

int QLayerList::firstSelected() const
{
  return character->selectedElement(0);
}

bool QLayerList::hasFirstSelected() const
{
  return character->selectedElementCount() > 0 && firstSelected() >= 0
      && firstSelected() < character->elementCount();
}

void QLayerList::elementsChanged()
{
  setScrollOffset(scrollOffset);
  updateLayout();
  update();
}

bool QLayerList::refusedByLimit(int added)
{
  return refusedByElementLimit(this, *character, added);
}

// The merge left every element as it was: say why, and push no step.
void QLayerList::showMergeRefusal()
{
  prompts().message(this, QMessageBox::Critical, QStringLiteral("Erreur"),
                    QString::fromStdString(character->errorMessage()), QString());
}

// ---- mouse

void QLayerList::selectByClick(int element, bool ctrl, bool shift)
{
  character->clickElement(element, ctrl, shift);
}

void QLayerList::mousePressEvent(QMouseEvent* event)
{
  if (event->button() != Qt::LeftButton)
    return;
  const QPoint point = event->position().toPoint();
  pressPos = point;
  ctrlDown = event->modifiers() & Qt::ControlModifier;
  shiftDown = event->modifiers() & Qt::ShiftModifier;
  if (moveMode)
    return;
  const int row = listGeometry().rowAt(point);
  if (row >= 0) {
    // A new pick of elements deserves the canvas's drawing question again.
    if (layer)
      layer->setDrawLayerAsked(false);
    selectByClick(scrollOffset + row, ctrlDown, shiftDown);
    pressArmed = true;
    update();
    return;
  }
  pressScrollBar(point);
}

// A Ctrl or Shift drag extends the selection instead.
bool QLayerList::dragStartsMove() const
{
  return !ctrlDown && !shiftDown;
}

// Without a canvas the move could not be undone.
void QLayerList::commitMove()
{
  if (layer)
    MovableElementList::commitMove();
}

void QLayerList::elementMoved()
{
  pushStep("Déplacement d'un élément");
}

void QLayerList::mouseDoubleClickEvent(QMouseEvent* event)
{
  const int row = listGeometry().rowAt(event->position().toPoint());
  if (row < 0)
    return;
  character->setSelectedElements({scrollOffset + row});
  update();
  showPropertiesDialog();
}

void QLayerList::popUpMenu(int, const QPoint& globalPos)
{
  const int s = character->selectedElementCount();
  const int count = character->elementCount();
  QMenu* menu = new QMenu(QStringLiteral("Actions"), this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  auto add = [&](const char* icon, const QString& text, void (QLayerList::*slot)()) {
    return menu->addAction(QIcon(QString::fromLatin1(icon)), text, this, slot);
  };
  if (s == 1) {
    add(":/icon/add_dessin.png", QStringLiteral("Ajouter un calque de dessin"), &QLayerList::aAddElement);
    menu->addSeparator();
  }
  add(":/icon/cut.png", QStringLiteral("Couper"), &QLayerList::aCut);
  add(":/icon/copy.png", QStringLiteral("Copier"), &QLayerList::aCopier);
  if (s == 1) {
    QAction* paste = add(":/icon/paste.png", QStringLiteral("Coller"), &QLayerList::aColler);
    paste->setEnabled(clipboard && *clipboard && (*clipboard)->kind() == ClipBoard::Elements);
  }
  menu->addSeparator();
  if (s == 1)
    add(":/icon/dupliquer.png", QStringLiteral("Dupliquer"), &QLayerList::aDoubler);
  if (s == 1 && count > 1)
    add(":/icon/move.png", QStringLiteral("Déplacer"), &QLayerList::aMove);
  add(":/icon/deselection.png", QStringLiteral("Désélectionner"), &QLayerList::aDeselect);
  int visible = 0;
  for (int e : character->selectedElements())
    visible += character->isVisible(e) ? 1 : 0;
  if (visible == 0)
    add(":/icon/show.png", QStringLiteral("Afficher"), &QLayerList::aCacher);
  else if (visible == s)
    add(":/icon/hide.png", QStringLiteral("Cacher"), &QLayerList::aCacher);
  else
    add(":/icon/hideshow.png", QStringLiteral("Cacher/Afficher"), &QLayerList::aCacher);
  add(":/icon/remove.png", QStringLiteral("Supprimer"), &QLayerList::aSupprimer);
  if (s == 1 && firstSelected() > 0) {
    menu->addSeparator();
    add(":/icon/sorvelElement.png", QStringLiteral("Sorvelner avec l'élément inférieur"), &QLayerList::aSorvel);
  }
  if (s > 1) {
    menu->addSeparator();
    add(":/icon/sorvelElement.png", QStringLiteral("Sorvelner la sélection"), &QLayerList::aSorvelSelection);
  }
  if (s == 1) {
    menu->addSeparator();
    add(":/icon/book.png", QStringLiteral("Propriétés"), &QLayerList::aProperty);
  }
  menu->popup(globalPos);
}

// ---- keys

bool QLayerList::event(QEvent* event)
{
  if (event->type() == QEvent::ShortcutOverride && isListKey(static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  return MovableElementList::event(event);
}

void QLayerList::keyPressEvent(QKeyEvent* event)
{
  event->accept();
  if (!character)
    return;
  // From the event itself: a Ctrl released while a dialog had the focus
  // never reaches the list, and a flag kept from its press would stay held.
  ctrlDown = event->modifiers() & Qt::ControlModifier;
  shiftDown = event->modifiers() & Qt::ShiftModifier;
  if (ctrlDown) {
    switch (event->key()) {
    case Qt::Key_A:
      character->selectAllElements();
      update();
      break;
    case Qt::Key_I:
      character->invertElementSelection();
      update();
      break;
    case Qt::Key_D:
      character->selectedElements().clear();
      update();
      break;
    default:
      break;
    }
  }
}

void QLayerList::focusOutEvent(QFocusEvent* event)
{
  ctrlDown = false;
  shiftDown = false;
  MovableElementList::focusOutEvent(event);
}

void QLayerList::keyReleaseEvent(QKeyEvent* event)
{
  if (event->key() == Qt::Key_Control)
    ctrlDown = false;
  else if (event->key() == Qt::Key_Shift)
    shiftDown = false;
  else if (event->key() == Qt::Key_Delete && !event->isAutoRepeat() && character
           && character->selectedElementCount() > 0)
    aSupprimer();
}

// ---- actions

void QLayerList::aAddElement()
{
  if (!layer || !hasFirstSelected() || refusedByLimit(1))
    return;
  const int position = firstSelected() + 1;
  if (!character->addElement(std::string(), position))
    return;
  character->setSelectedElements({position});
  pushStep("Ajouter un calque de dessin");
}

void QLayerList::aCut()
{
  if (layer && clipboard && cutSelection(*character, *clipboard, true))
    pushStep("Couper");
}

void QLayerList::aCopier()
{
  if (clipboard)
    copySelection(*character, *clipboard, true);
}

void QLayerList::aColler()
{
  if (!layer || !clipboard || !*clipboard || (*clipboard)->kind() != ClipBoard::Elements)
    return;
  const LayerData* held = static_cast<const LayerData*>((*clipboard)->data());
  if (held && !refusedByLimit(CharacterData(*held).elementCount()) && pasteElements(*character, **clipboard))
    pushStep("Coller");
}

void QLayerList::aDoubler()
{
  if (!layer || !hasFirstSelected() || refusedByLimit(1))
    return;
  const int e = firstSelected();
  character->duplicateElements(e, e + 1);
  pushStep("Duplication de l'élément : " + character->name(e));
}

void QLayerList::aDeselect()
{
  character->selectedElements().clear();
  update();
}

bool QLayerList::askDelete()
{
  bool ask = true;
  {
    IniSettings settings;
    settings.getValue("showDeleteElement", ask);
  }
  if (!ask)
    return true;
  bool ticked = false;
  const QMessageBox::StandardButton answer =
      askWithCheckBox(this, tr("Suppression", "Titre de fenêtre"), tr("<h3>Suppression d'élément(s)</h3>"),
                      tr("Etes-vous sûr(e) de vouloir supprimer les éléments sélectionnés ?"),
                      tr("Ne plus afficher ce message"), ticked, QMessageBox::Yes | QMessageBox::No,
                      QMessageBox::Question);
  if (answer != QMessageBox::Yes)
    return false;
  IniSettings settings;
  settings.setValue("showAgain", "showDeleteElement", !ticked);
  return true;
}

void QLayerList::aSupprimer()
{
  if (!layer || character->selectedElementCount() == 0 || !askDelete())
    return;
  character->removeElements();
  pushStep("Suppression d'un ou plusieurs éléments");
}

void QLayerList::aCacher()
{
  if (!layer || character->selectedElementCount() == 0)
    return;
  const int count = character->elementCount();
  for (int e : character->selectedElements())
    if (e >= 0 && e < count)
      character->setVisible(!character->isVisible(e), e);
  pushStep("Changement de la visibilité d'un ou plusieurs éléments");
  update();
}

void QLayerList::aProperty()
{
  showPropertiesDialog();
}

void QLayerList::showPropertiesDialog()
{
  if (!hasFirstSelected())
    return;
  const int e = firstSelected();
  QDialog* dialog = new QDialog(this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setModal(true);
  propertiesDialog = dialog;

  nameEdit = new QLineEdit(QString::fromStdString(character->name(e)), dialog);
  nameEdit->selectAll();
  nameEdit->setFixedWidth(200);
  QFormLayout* form = new QFormLayout;
  form->addRow(QStringLiteral("Nom"), nameEdit);

  hideBox = new QCheckBox(QStringLiteral("Cacher l'élément"), dialog);
  hideBox->setChecked(!character->isVisible(e));

  validateButton = new QPushButton(QIcon(QStringLiteral(":/icon/ok.png")), QStringLiteral("Valider"), dialog);
  validateButton->setDefault(true);
  QPushButton* cancel = new QPushButton(QIcon(QStringLiteral(":/icon/remove.png")), QStringLiteral("Annuler"), dialog);
  QHBoxLayout* buttons = new QHBoxLayout;
  buttons->addWidget(validateButton, 10, Qt::AlignRight);
  buttons->addWidget(cancel, 0, Qt::AlignRight);

  QVBoxLayout* layout = new QVBoxLayout(dialog);
  layout->addLayout(form);
  layout->addWidget(hideBox);
  layout->addLayout(buttons);

  connect(validateButton, &QPushButton::clicked, this, &QLayerList::changeProperties);
  connect(nameEdit, &QLineEdit::textChanged, this, &QLayerList::updateButtonEnable);
  connect(cancel, &QPushButton::clicked, dialog, &QDialog::close);

  dialog->setWindowTitle(QStringLiteral("Propriétés de l'élément"));
  dialog->setWindowIcon(QIcon(QStringLiteral(":/icon/book.png")));
  dialog->setFixedSize(dialog->sizeHint());
  dialog->show();
}

void QLayerList::changeProperties()
{
  if (!layer || !propertiesDialog || !nameEdit || !hideBox || nameEdit->text().isEmpty() || !hasFirstSelected())
    return;
  const int e = firstSelected();
  character->setName(nameEdit->text().toStdString(), e);
  character->setVisible(!hideBox->isChecked(), e);
  pushStep("Changement de propriété");
  propertiesDialog->close();
  update();
}

void QLayerList::aSorvel()
{
  if (!layer || !hasFirstSelected() || firstSelected() == 0)
    return;
  const int e = firstSelected();
  if (!character->mergeWithLowerElement(e)) {
    showMergeRefusal();
    return;
  }
  character->setSelectedElements({e - 1});
  pushStep("Sorvel avec l'élément inférieur");
}

void QLayerList::aSorvelSelection()
{
  if (!layer || character->selectedElementCount() < 2)
    return;
  if (!character->mergeSelectedElements()) {
    showMergeRefusal();
    return;
  }
  pushStep("Sorvel de la sélection");
}

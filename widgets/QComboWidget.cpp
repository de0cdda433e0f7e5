#include "widgets/QComboWidget.h"

#include "core/PathUtils.h"
#include "widgets/Prompts.h"
#include "widgets/QOptionWidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSet>
#include <QVBoxLayout>

QComboWidget::QComboWidget(const QString& title, const QString& text, QWidget* parent)
    : QComboWidget(QPixmap(), title, text, parent)
{
}

QComboWidget::QComboWidget(const QPixmap& icon, const QString& title, const QString& text, QWidget* parent)
    : QDialog(parent), titleLabel(new QLabel(title)), textLabel(new QLabel(text)), iconLabel(new QLabel),
      mainLayout(new QVBoxLayout(this))
{
  if (!icon.isNull())
    iconLabel->setPixmap(icon);
  QHBoxLayout* header = new QHBoxLayout;
  header->addWidget(iconLabel);
  QVBoxLayout* words = new QVBoxLayout;
  words->addWidget(titleLabel, 0, Qt::AlignLeft);
  words->addWidget(textLabel, 0, Qt::AlignLeft);
  header->addLayout(words);
  mainLayout->addLayout(header);
  setModal(true);
}

QComboWidget::~QComboWidget()
{
  // The same choice may have been handed in twice.
  const QSet<ComboChoice*> owned(choices.begin(), choices.end());
  qDeleteAll(owned);
}

ComboChoice* QComboWidget::addChoice(const QPixmap& icon, const QString& title, const QString& text,
                                     bool closesDialog)
{
  ComboChoice* choice = new ComboChoice{icon, title, text, closesDialog};
  addTile(choice);
  return choice;
}

void QComboWidget::addChoices(const QList<ComboChoice*>& list)
{
  for (ComboChoice* choice : list)
    if (choice)
      addTile(choice);
}

void QComboWidget::addTile(ComboChoice* choice)
{
  QOptionWidget* tile = new QOptionWidget(choice->icon, choice->title, choice->text, this);
  mainLayout->addWidget(tile);
  connect(tile, &QOptionWidget::clicked, this, &QComboWidget::valid);
  tiles << tile;
  choices << choice;
  closesFlags << choice->closesDialog;
}

QOptionWidget* QComboWidget::tileOf(int index) const
{
  return index >= 0 && index < tiles.size() ? tiles.at(index) : nullptr;
}

bool QComboWidget::connectChoice(int index, const char* signal, const QObject* receiver, const char* method,
                                 Qt::ConnectionType type)
{
  QOptionWidget* tile = tileOf(index);
  return tile && connect(tile, signal, receiver, method, type);
}

bool QComboWidget::connectChoice(ComboChoice* choice, const char* signal, const QObject* receiver,
                                 const char* method, Qt::ConnectionType type)
{
  return connectChoice(int(choices.lastIndexOf(choice)), signal, receiver, method, type);
}

bool QComboWidget::disconnectChoice(int index, const char* signal, const QObject* receiver, const char* method)
{
  QOptionWidget* tile = tileOf(index);
  return tile && disconnect(tile, signal, receiver, method);
}

bool QComboWidget::disconnectChoice(ComboChoice* choice, const char* signal, const QObject* receiver,
                                    const char* method)
{
  return disconnectChoice(int(choices.lastIndexOf(choice)), signal, receiver, method);
}

void QComboWidget::valid()
{
  const int index = int(tiles.indexOf(qobject_cast<QOptionWidget*>(sender())));
  if (index < 0)
    return;
  chosenIndex = index;
  if (closesFlags.at(index))
    accept();
}

namespace {

struct Tile
{
  const char* icon;
  const char* title;
  const char* text;
};

void addTiles(QComboWidget& dialog, std::initializer_list<Tile> tiles, bool closesDialog = true)
{
  for (const Tile& t : tiles)
    dialog.addChoice(QPixmap(QString::fromUtf8(t.icon)), QString::fromUtf8(t.title), QString::fromUtf8(t.text),
                     closesDialog);
}

int ask(QComboWidget& dialog, const QString& windowTitle)
{
  dialog.setWindowTitle(windowTitle);
  dialog.setFixedSize(dialog.sizeHint());
  prompts().runDialog(dialog);
  return dialog.chosenIndex;
}

const Tile kSave = {":/icon/saveDialog.png", "<h3>Enregistrer</h3>",
                    "Enregistrer les modifications et fermer le fichier."};
const Tile kSaveAll = {":/icon/saveAllDialog.png", "<h3>Enregistrer tout</h3>",
                       "Enregistrer les modifications et fermer tous les fichiers."};
const Tile kDontSave = {":/icon/dontSaveDialog.png", "<h3>Ne pas enregistrer</h3>",
                        "Ignorer les modifications et fermer le fichier."};
const Tile kCancel = {":/icon/undoDialog.png", "<h3>Annuler</h3>", "Ne pas fermer le fichier."};

int askSave(const QString& path, QWidget* parent, std::initializer_list<Tile> tiles)
{
  QComboWidget dialog(QStringLiteral("<b>Le fichier suivant a des modifications non enregistrées :</b><br />")
                          + richTextEscaped(pathFileName(path)),
                      QStringLiteral("<i>Que souhaitez-vous faire ?</i>"), parent);
  addTiles(dialog, tiles);
  return ask(dialog, QStringLiteral("Fermer un fichier"));
}

const char* const kDefaultQuestionName = "defaultCharacterQuestion";

} // namespace

int askCharacterCount(QWidget* parent)
{
  QComboWidget dialog(QStringLiteral("<b>Vous souhaitez convertir des characters de RPG Maker VX</b><br />"),
                      QStringLiteral("<i>Combien de character y a-t-il dans chaque image ?</i>"), parent);
  addTiles(dialog, {{":/icon/search.png", "<h3>Rechercher le nombre</h3>",
                       "Si le nom du fichier contient le symbole <i>$</i> dans les<br />deux premières lettres du "
                       "nom, alors le fichier ne<br />contient qu'un character. Sinon, il en contient huit."},
                      {":/icon/alone.png", "<h3>Un seul character</h3>",
                       "Chaque fichier ne contient qu'un seul character."},
                      {":/icon/all.png", "<h3>Huit characters</h3>",
                       "Chaque fichier contient à lui seul huit characters."}});
  // The search icon is drawn at the size of the other two.
  if (QOptionWidget* first = dialog.findChild<QOptionWidget*>()) {
    first->setScaled(true);
    first->setPixmapSize(QSize(64, 64));
  }
  return ask(dialog, QStringLiteral("Convertir un character de RPG Maker VX"));
}

void askDefaultCharacter(QObject* receiver, const char* helpSlot, const char* assignSlot, QWidget* parent)
{
  // One dialog per parent, built once and shown again on later calls.
  QComboWidget* dialog =
      parent ? parent->findChild<QComboWidget*>(QLatin1String(kDefaultQuestionName), Qt::FindDirectChildrenOnly)
             : nullptr;
  if (!dialog) {
    dialog = new QComboWidget(QPixmap(QStringLiteral(":/icon/newCustom.png")),
                              QStringLiteral("<h3>Ouvrir le character par défaut</h3>"),
                              QStringLiteral("Cette option permet de créer un nouveau character qui possède\n"
                                             "les mêmes caractéristiques et éléments que le character désigné\n"
                                             "comme par défaut. Consultez le manuel d'aide pour plus\n"
                                             "d'informations.\n"
                                             "\n"
                                             "Ce message s'affiche car actuellement aucun character n'est\n"
                                             "désigné comme par défaut."),
                              parent);
    dialog->setObjectName(QLatin1String(kDefaultQuestionName));
    // Without a parent nobody would own it.
    if (!parent)
      dialog->setAttribute(Qt::WA_DeleteOnClose);
    addTiles(*dialog,
               {{":/icon/helpicon.png", "<h3>Manuel d'aide</h3>",
                 "Ouvrir le manuel d'aide pour plus d'informations."},
                {":/icon/setCustom.png", "<h3>Assigner comme character par défaut</h3>",
                 "Assigner le character ouvert comme character par défaut."}},
               false);
    addTiles(*dialog, {{":/icon/myOk.png", "<h3>Ok</h3>", "Fermer la boîte de dialogue."}});
    dialog->connectChoice(0, SIGNAL(clicked()), receiver, helpSlot);
    dialog->connectChoice(1, SIGNAL(clicked()), receiver, assignSlot);
    dialog->connectChoice(2, SIGNAL(clicked()), dialog, SLOT(close()));
    dialog->setWindowTitle(QStringLiteral("Character par défaut"));
    dialog->setFixedSize(dialog->sizeHint());
    // The help window has no parent, so it stays usable beside this question.
    dialog->setWindowModality(Qt::WindowModal);
  }
  dialog->show();
  dialog->raise();
}

int askSaveBeforeClose(const QString& path, QWidget* parent)
{
  return askSave(path, parent, {kSave, kSaveAll, kDontSave, kCancel});
}

int askSaveBeforeCloseSingle(const QString& path, QWidget* parent)
{
  return askSave(path, parent, {kSave, kDontSave, kCancel});
}

int askElementType(QWidget* parent)
{
  QComboWidget dialog(QStringLiteral("<h2>Quel est le type de l'élément ?</h2>"),
                      QStringLiteral("<i>Cliquez sur le type correspondant.</i>"), parent);
  addTiles(dialog, {{":/icon/icon_xp.png", "<h3>RPG Maker XP</h3>", "L'élément est pour RPG Maker XP."},
                      {":/icon/icon_vx.png", "<h3>RPG Maker VX</h3>", "L'élément est pour RPG Maker VX."}});
  return ask(dialog, QStringLiteral("Type de l'élément"));
}

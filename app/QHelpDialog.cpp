#include "app/QHelpDialog.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QStandardItemModel>
#include <QTextBrowser>
#include <QTreeView>

#include <vector>

namespace {

struct Topic
{
  int level;
  const char* title;
};

// Depth first: a topic is followed by its children.
const Topic kTopics[] = {
    {1, "Introduction"},
    {1, "Débuter"},
    {2, "Créer un character"},
    {2, "Ajouter des éléments"},
    {2, "Fenêtres des éléments et de rendu"},
    {2, "Enregistrer un character"},
    {2, "Exemple de création"},
    {1, "Fonctions de retouche"},
    {2, "Zone d'effet des retouches"},
    {2, "Déplacement"},
    {2, "Coloration"},
    {2, "Redimension"},
    {2, "Rotation"},
    {2, "Restauration"},
    {2, "Exemple de retouche"},
    {1, "Fonctions de dessin"},
    {2, "Calques de dessin"},
    {2, "Zone d'effet du dessin"},
    {2, "Fenêtre de couleur"},
    {2, "Pipette"},
    {2, "Pinceau"},
    {2, "Ligne"},
    {2, "Rectangle / Cercle"},
    {3, "Editeur de dégradé"},
    {2, "Gomme"},
    {2, "Exemple de dessin"},
    {1, "Annexes"},
    {2, "Conversion de characters"},
    {2, "Sorvel de tilesets"},
    {2, "Ajouter des éléments à la bibliothèque"},
};
const int kTopicCount = int(sizeof(kTopics) / sizeof(kTopics[0]));

// The window's size limits derive from its preferred size. A text browser
// prefers a thumbnail of 256 x 192, which would cap the manual there; a page
// of the manual reads well at 800 x 600.
class PageView : public QTextBrowser
{
public:
  QSize sizeHint() const override { return QSize(800, 600); }
};

} // namespace

QUrl helpFileUrl(const QUrl& url)
{
  if (!url.isRelative() || url.path().isEmpty())
    return url;
  QUrl file = QUrl::fromLocalFile(QDir::current().absoluteFilePath(url.path(QUrl::FullyDecoded)));
  file.setFragment(url.fragment(QUrl::FullyDecoded), QUrl::DecodedMode);
  return file;
}

QHelpDialog::QHelpDialog(const QString& page, QWidget* parent) : QWidget(parent)
{
  model = new QStandardItemModel;

  std::vector<QStandardItem*> items;
  for (int i = 0; i < kTopicCount; ++i) {
    const bool folder = i + 1 < kTopicCount && kTopics[i + 1].level > kTopics[i].level;
    items.push_back(new QStandardItem(QIcon(folder ? QStringLiteral(":/icon/helpdir.png")
                                                   : QStringLiteral(":/icon/helpfile.png")),
                                      QString::fromUtf8(kTopics[i].title)));
  }
  for (QStandardItem* item : items)
    item->setEditable(false);

  view = new PageView;

  // parents[level - 1] is the last topic placed at that level.
  QStandardItem* parents[3] = {};
  for (int i = 0; i < kTopicCount; ++i) {
    const int level = kTopics[i].level;
    if (level == 1)
      model->appendRow(items[i]);
    else
      parents[level - 2]->insertRow(parents[level - 2]->rowCount(), items[i]);
    parents[level - 1] = items[i];
  }

  QHBoxLayout* layout = new QHBoxLayout;
  QTreeView* tree = new QTreeView;
  tree->setModel(model);
  tree->header()->setVisible(false);

  loadPage(QUrl(page));

  connect(tree, &QTreeView::clicked, this, &QHelpDialog::loadFromItem);

  layout->addWidget(tree);
  layout->addWidget(view);
  setLayout(layout);

  setWindowTitle(QStringLiteral("Manuel d'aide version 1.0.0"));
  setWindowIcon(QIcon(QStringLiteral(":/icon/SK.png")));

  const QSize hint = sizeHint();
  setMinimumSize(qRound(hint.width() / 2.0), qRound(hint.height() / 2.0));
  setMaximumSize(hint);
}

QHelpDialog::~QHelpDialog()
{
  // The tree goes with the window; the model has no parent.
  delete model;
}

void QHelpDialog::loadPage(const QUrl& url)
{
  view->setSource(helpFileUrl(url));
}

QUrl QHelpDialog::pageUrl(QString title)
{
  title.replace(QLatin1Char(' '), QLatin1Char('_'));
  title.remove(QLatin1Char('\''));
  title.replace(QLatin1Char('/'), QLatin1Char('_'));
  return QUrl(QStringLiteral("help/") + title.trimmed().toLower() + QStringLiteral(".html"));
}

void QHelpDialog::loadFromItem(const QModelIndex& index)
{
  loadPage(pageUrl(model->data(index, Qt::DisplayRole).toString()));
}

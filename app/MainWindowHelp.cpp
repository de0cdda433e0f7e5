// The main window's help, about and first-run slots.
#include "app/MainWindow.h"

#include "app/Links.h"
#include "app/QHelpDialog.h"
#include "widgets/Prompts.h"
#include "widgets/QComboWidget.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

const QString kIntroductionPage = QStringLiteral("help/introduction.html");

// Creates the manual on page, or when it exists already loads page into it
// if asked; then brings it to the front.
void raiseHelp(QHelpDialog*& window, const QString& page, bool loadIntoExisting)
{
  if (!window)
    window = new QHelpDialog(page, nullptr);
  else if (loadIntoExisting)
    window->loadPage(QUrl(page));
  window->show();
  window->activateWindow();
}

QString aboutText()
{
  return QStringLiteral("<h3>Sorvel Kit 1.0.0</h3><p>Sorvel Kit est un logiciel qui permet de créer et de modifier "
                        "rapidement des characters et des tilesets pour RPG Maker XP et RPG Maker VX.</p>"
                        "<p>Sorvel Kit a été soutenu par le forum <a href=\"")
         + QLatin1String(kForumUrl)
         + QStringLiteral("\">RPG Sorvel V2</a>.</p><p>Son auteur l'a créé pour aider la communauté des créateurs "
                          "de jeux. Sorvel Kit est donc distribué gratuitement.</p>");
}

QString thanksText()
{
  return QStringLiteral("<h3>Merci qui ?</h3><p>Sorvel Kit n'aurait pas pu voir le jour sans l'aide de nombreuses "
                        "personnes.</p><p>Merci aux contributeurs pour leur soutien et leur travail graphique, ainsi "
                        "qu'à tous les membres de la communauté Sorvel qui ont soutenu l'auteur et l'ont encouragé à "
                        "terminer Sorvel Kit.</p>");
}

} // namespace

void MainWindow::showHelp()
{
  raiseHelp(helpDialog, kIntroductionPage, false);
}

void MainWindow::showHelp(QString page)
{
  raiseHelp(helpDialog, page, true);
}

void MainWindow::showHelp_Create_Character()
{
  raiseHelp(helpDialog, QStringLiteral("help/créer_un_character.html#id_1"), true);
}

void MainWindow::aboutSK()
{
  prompts().about(this, QStringLiteral("A propos de Sorvel Kit"), aboutText());
}

void MainWindow::aboutThanks()
{
  prompts().about(this, QStringLiteral("Remerciement"), thanksText());
}

void MainWindow::openRpgSorvelUrl()
{
  // A desktop without a browser is no reason to bother the user.
  prompts().openUrl(QUrl(QString::fromLatin1(kForumUrl)));
}

void MainWindow::donation()
{
  prompts().about(this, QStringLiteral("Donation"),
                  QStringLiteral("<h1>Faire un don</h1><p>Sorvel Kit est un logiciel gratuit et le restera.</p>"
                                 "<p>Néanmoins si Sorvel Kit vous plaît et que vous souhaitez m'en remercier, vous "
                                 "pouvez me faire un don financier, en cliquant sous l'image ci-dessous.</p>"
                                 "<p align=\"center\"><a href=\"")
                      + QLatin1String(kDonationUrl)
                      + QStringLiteral("\"><img src=\":/icon/donation.png\"></a></p><p>Le paiement est rapide et "
                                       "sécurisé. Vous avez la possibilité de donner la somme que vous souhaitez ! "
                                       "Merci d'avance !</p>"));
}

void MainWindow::welcome()
{
  prompts().about(this, QStringLiteral("Bienvenue !"),
                  QStringLiteral("<h3>Bienvenue !</h3><p>Bienvenue dans Sorvel Kit 1.0.0 !</p><p>Je vous remercie "
                                 "d'avoir téléchargé Sorvel Kit et j'espère que ce logiciel vous sera utile.</p>")
                      + aboutText() + thanksText());
}

void MainWindow::showQuickHelp()
{
  if (!quickHelpWindow) {
    quickHelpWindow = new QWidget;
    QVBoxLayout* layout = new QVBoxLayout(quickHelpWindow);
    QTextBrowser* page = new QTextBrowser;
    page->setSource(helpFileUrl(QUrl(QStringLiteral("help/guide_express.html"))));
    layout->addWidget(page);

    QPushButton* manual =
        new QPushButton(QIcon(QStringLiteral(":/icon/helpicon.png")), QStringLiteral("Ouvrir le manuel d'aide"));
    QHBoxLayout* row = new QHBoxLayout;
    row->addWidget(manual, 0, Qt::AlignRight);
    layout->addLayout(row);

    quickHelpWindow->setWindowTitle(QStringLiteral("Introduction à Sorvel Kit"));
    quickHelpWindow->setWindowIcon(QIcon(QStringLiteral(":/icon/SK.png")));
    quickHelpWindow->setMinimumSize(640, 480);
    connect(manual, &QPushButton::clicked, this, qOverload<>(&MainWindow::showHelp));
  }
  quickHelpWindow->show();
  quickHelpWindow->activateWindow();
}

void MainWindow::doYouNeedHelp()
{
  QComboWidget* dialog = new QComboWidget(
      QStringLiteral("<h3>Besoin d'aide ?</h3>"),
      QStringLiteral("<em>Souhaitez-vous obtenir de l'aide sur l'utilisation de Sorvel Kit ?</em>"), this);
  dialog->addChoice(QPixmap(QStringLiteral(":/icon/SK.png")),
                    QStringLiteral("<h3>Lire <em>Introduction à Sorvel Kit</em></h3>"),
                    QStringLiteral("Lire un court manuel d'aide présentant rapidement les <br />fonctions de Sorvel "
                                   "Kit."),
                    true);
  dialog->addChoice(QPixmap(QStringLiteral(":/icon/helpicon.png")), QStringLiteral("<h3>Lire le Manuel d'aide</h3>"),
                    QStringLiteral("Lire le manuel d'aide décrivant l'intégralité de <br />Sorvel Kit."), true);
  dialog->addChoice(QPixmap(QStringLiteral(":/icon/remove.png")), QStringLiteral("<h3>Ne rien lire</h3>"),
                    QStringLiteral("Ne lire aucune aide. Les manuels ci-dessus sont <br />néanmoins accessibles dans "
                                   "le menu <em>?</em>."),
                    true);
  dialog->setWindowTitle(QStringLiteral("Aide à propos de Sorvel Kit"));
  prompts().runDialog(*dialog);

  if (dialog->chosenIndex == 0)
    showQuickHelp();
  else if (dialog->chosenIndex == 1)
    raiseHelp(helpDialog, kIntroductionPage, false);

  dialog->close();
  delete dialog;
}

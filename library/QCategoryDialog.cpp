#include "library/QCategoryDialog.h"

#include "core/PathUtils.h"
#include "widgets/Prompts.h"

#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString redStatus(const QString& text) { return QStringLiteral("<font color=\"#FF0000\">") + text + "</font>"; }
QString greenStatus(const QString& text) { return QStringLiteral("<font color=\"#009900\">") + text + "</font>"; }

QString elementNameRefusal(const QString& name)
{
  if (name.isEmpty())
    return QStringLiteral("Le nom ne doit pas être vide.");
  if (!isValidFileName(name))
    return QStringLiteral("Le nom ne doit pas contenir les caractères : \\ / : * ? \" &lt; > |.");
  return QString();
}

QCategoryDialog::QCategoryDialog(QWidget* parent) : QDialog(parent)
{
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(true);
  setWindowTitle(QStringLiteral("Créer une nouvelle catégorie"));
  statusLabel = new QLabel(this);
  nameField = new QLineEdit(QStringLiteral("Nouvelle catégorie"), this);
  nameField->selectAll();
  validButton = new QPushButton(QStringLiteral("Valider"), this);
  validButton->setDefault(true);
  cancelButton = new QPushButton(QStringLiteral("Annuler"), this);

  QFormLayout* form = new QFormLayout;
  form->addRow(QStringLiteral("Nom"), nameField);
  QHBoxLayout* buttons = new QHBoxLayout;
  buttons->addWidget(validButton, 10, Qt::AlignRight);
  buttons->addWidget(cancelButton, 0, Qt::AlignRight);
  QVBoxLayout* layout = new QVBoxLayout(this);
  layout->addWidget(statusLabel);
  layout->addLayout(form);
  layout->addLayout(buttons);
  connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
}

void QCategoryDialog::checkName(const QString& name, const QString& folder)
{
  QString refusal;
  if (name.isEmpty())
    refusal = QStringLiteral("Le nom ne doit pas être vide.");
  else if (!isValidFileName(name))
    refusal = QStringLiteral("La synthaxe du nom est mauvaise.");
  else if (name.startsWith(QLatin1Char('.')))
    refusal = QStringLiteral("Le nom ne doit pas commencer par un point."); // the browsers never list it
  else if (QFileInfo::exists(folder + name))
    refusal = QStringLiteral("Une catégorie portant le même nom existe déjà.");
  statusLabel->setText(refusal.isEmpty() ? greenStatus(QStringLiteral("Valider pour créer une nouvelle catégorie."))
                                         : redStatus(refusal));
  validButton->setEnabled(refusal.isEmpty());
}

bool QCategoryDialog::createIn(const QString& folder)
{
  const QString name = nameField->text();
  if (QDir(folder).mkdir(name))
    return true;
  prompts().message(this, QMessageBox::Critical, QStringLiteral("Erreur"),
                    QStringLiteral("Impossible de créer la nouvelle catégorie : ") + richTextEscaped(name) + ".",
                    QString());
  return false;
}

#include "widgets/QDropWidget.h"

#include "core/ImageUtils.h"
#include "core/PathUtils.h"
#include "model/ElementFile.h"
#include "widgets/QOptionWidget.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QPixmap preview(const QString& fileName)
{
  QPixmap picture;
  if (hasExtension(fileName, QStringLiteral("png")))
    picture = QPixmap::fromImage(readImageFile(fileName));
  else if (hasExtension(fileName, QStringLiteral("elsk")))
    picture = renderElementFilePreview(fileName.toUtf8().toStdString());
  if (picture.isNull())
    return QPixmap();
  return picture.scaled(64, 96, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

QDropWidget::QDropWidget(const QString& fileName, QWidget* parent) : QDialog(parent)
{
  build(fileName, QStringLiteral("<i>") + richTextEscaped(pathFileName(fileName)) + QStringLiteral("</i> ?"),
        {QStringLiteral("Ajouter dans le character ouvert."), QStringLiteral("Ouvrir dans un nouveau character."),
         QStringLiteral("Ignorer ce fichier."), QStringLiteral("Ne rien faire pour tous les fichiers déposés.")});
  setWindowTitle(QStringLiteral("Glisser-Déplacer"));
}

QDropWidget::QDropWidget(const QString& fileName, const QString& title, const QIcon& icon, QWidget* parent)
    : QDialog(parent)
{
  build(fileName, fileName + QStringLiteral("?"),
        {QStringLiteral("Ajouter dans le character ouvert"), QStringLiteral("Ouvrir dans un nouveau character"),
         QStringLiteral("Ignorer ce fichier"), QStringLiteral("Ne rien faire pour tous les fichiers déposés")});
  setWindowTitle(title);
  setWindowIcon(icon);
}

void QDropWidget::build(const QString& fileName, const QString& fileLine, const QStringList& tileTexts)
{
  QLabel* previewLabel = new QLabel;
  QLabel* header = new QLabel(QStringLiteral("<h2>Glisser-Déplacer</h2>"));
  QLabel* question = new QLabel(QStringLiteral("Que souhaitez-vous faire avec ce fichier :"));
  QLabel* file = new QLabel(fileLine);
  previewLabel->setPixmap(preview(fileName));

  addOption = new QOptionWidget(QPixmap(QStringLiteral(":/icon/add_dessin.png")),
                                QStringLiteral("<h3>Ajouter</h3>"), tileTexts.value(0), this);
  openOption = new QOptionWidget(QPixmap(QStringLiteral(":/icon/openLittle.png")),
                                 QStringLiteral("<h3>Ouvrir</h3>"), tileTexts.value(1), this);
  skipOption = new QOptionWidget(QPixmap(QStringLiteral(":/icon/suivant.png")),
                                 QStringLiteral("<h3>Ignorer</h3>"), tileTexts.value(2), this);
  cancelOption = new QOptionWidget(QPixmap(QStringLiteral(":/icon/remove.png")),
                                   QStringLiteral("<h3>Annuler</h3>"), tileTexts.value(3), this);

  QVBoxLayout* words = new QVBoxLayout;
  words->addWidget(header, 0, Qt::AlignTop);
  words->addWidget(question, 10, Qt::AlignTop);
  words->addWidget(file, 1000, Qt::AlignTop);
  QHBoxLayout* top = new QHBoxLayout;
  top->addWidget(previewLabel, 0);
  top->addLayout(words);
  QFrame* line = new QFrame;
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);

  QVBoxLayout* column = new QVBoxLayout(this);
  column->addLayout(top);
  column->addWidget(line);
  for (QOptionWidget* tile : {addOption, openOption, skipOption, cancelOption})
    column->addWidget(tile);

  action = 3;
  connect(addOption, &QOptionWidget::clicked, this, &QDropWidget::addAction);
  connect(openOption, &QOptionWidget::clicked, this, &QDropWidget::openAction);
  connect(skipOption, &QOptionWidget::clicked, this, &QDropWidget::skipAction);
  connect(cancelOption, &QOptionWidget::clicked, this, &QDropWidget::cancelAction);
  setModal(true);
}

void QDropWidget::addAction()
{
  action = 0;
  accept();
}

void QDropWidget::openAction()
{
  action = 1;
  accept();
}

void QDropWidget::skipAction()
{
  action = 2;
  accept();
}

void QDropWidget::cancelAction()
{
  action = 3;
  reject();
}

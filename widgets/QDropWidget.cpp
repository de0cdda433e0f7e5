#include "widgets/QDropWidget.h"

#include "core/ImageUtils.h"
#include "core/PathUtils.h"
#include "model/ElementFile.h"
#include "widgets/PreviewMaker.h"
#include "widgets/QOptionWidget.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr QSize kPreviewSize(64, 96);

QImage picture(const QString& fileName, const std::function<bool()>& superseded)
{
  if (hasExtension(fileName, QStringLiteral("png")))
    return readImageFile(fileName, superseded);
  return elementFilePreviewImage(fileName.toUtf8().toStdString(), superseded);
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
  build(fileName, richTextEscaped(fileName) + QStringLiteral("?"),
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
  file->setTextFormat(Qt::RichText); // the file's name comes escaped
  if (hasExtension(fileName, QStringLiteral("png")) || hasExtension(fileName, QStringLiteral("elsk"))) {
    // The place is kept from the start, so that nothing moves when the
    // picture comes.
    previewLabel->setMinimumSize(kPreviewSize);
    auto* maker = new PreviewMaker(kPreviewSize, PreviewMaker::Stretch, this);
    connect(maker, &PreviewMaker::made, previewLabel,
            [previewLabel](const QImage& shown) { previewLabel->setPixmap(QPixmap::fromImage(shown)); });
    maker->request([fileName](const auto& superseded) { return picture(fileName, superseded); });
  }

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

#include "library/QElementViewer.h"

#include "core/PathUtils.h"
#include "library/ColourSwatch.h"
#include "library/ElementKeying.h"
#include "library/QElementView.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <cmath>

QElementViewer::QElementViewer(const QStringList& paths, std::vector<ElementImage>* elementImages,
                               QWidget* parent)
    : QDialog(parent), paths(paths), elementImages(elementImages)
{
  if (paths.isEmpty())
    return;
  checkerboard = swatchCheckerboard();
  resetColours();
  view = new QElementView(paths.first());
  current = skipUnreadable(*view, paths, 0);
  if (view->image().isNull()) {
    view->setParent(this); // owned, never shown
    close();
    return;
  }

  transparencyLabel = new QLabel;
  translucencyLabel = new QLabel;
  transparencyLabel->setPixmap(transparencyPixmap);
  translucencyLabel->setPixmap(translucencyPixmap);
  scrollArea = new QScrollArea;
  scrollArea->setWidget(view);
  view->setMinimumSize(256, 256);
  QPushButton* cancelButton = new QPushButton(QIcon(QStringLiteral(":/icon/remove.png")), QStringLiteral("Annuler"));
  QPushButton* validButton = new QPushButton(QIcon(QStringLiteral(":/icon/ok.png")), QStringLiteral("Valider"));
  zoomBox = new QComboBox;
  zoomBox->addItems({QStringLiteral("Zoom x1.0"), QStringLiteral("Zoom x2.0"), QStringLiteral("Zoom x4.0")});

  QVBoxLayout* layout = new QVBoxLayout;
  layout->addWidget(new QLabel(QStringLiteral("Sélectionnez les couleurs de transparence.")));
  layout->addWidget(zoomBox);
  layout->addWidget(scrollArea);
  QFormLayout* form = new QFormLayout;
  form->addRow(QStringLiteral("Couleur de transparence (clic gauche)"), transparencyLabel);
  form->addRow(QStringLiteral("Couleur de translucide (clic droit)"), translucencyLabel);
  layout->addLayout(form);
  QHBoxLayout* buttons = new QHBoxLayout;
  buttons->addWidget(validButton, 10, Qt::AlignRight);
  buttons->addWidget(cancelButton, 0, Qt::AlignRight);
  layout->addLayout(buttons);
  updateTitle();
  setLayout(layout);
  setFixedSize(sizeHint());

  connect(validButton, &QPushButton::clicked, this, &QElementViewer::validModelIndex);
  connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
  connect(view, &QElementView::changeColor, this, &QElementViewer::updateColor);
  connect(zoomBox, &QComboBox::currentIndexChanged, this, &QElementViewer::updateZoom);
}

bool QElementViewer::hasImage() const { return view && !view->image().isNull(); }

void QElementViewer::updateTitle()
{
  setWindowTitle(QStringLiteral("Gestion de la transparence (%1/%2)").arg(current + 1).arg(paths.size()));
}

void QElementViewer::resetColours()
{
  transparencyColor = translucencyColor = QColor(0, 0, 0, 0);
  transparencyPixmap = blankSwatch(checkerboard);
  translucencyPixmap = blankSwatch(checkerboard);
  if (transparencyLabel) {
    transparencyLabel->setPixmap(transparencyPixmap);
    translucencyLabel->setPixmap(translucencyPixmap);
  }
}

void QElementViewer::updateZoom(int index)
{
  view->setZoom(std::ldexp(1.0, index));
  scrollArea->widget()->resize(view->shownSize());
}

void QElementViewer::updateColor(const QColor& rgb, int type)
{
  if (type == 0)
    showPickedColour(transparencyColor, transparencyPixmap, transparencyLabel, checkerboard, rgb);
  else if (type == 1)
    showPickedColour(translucencyColor, translucencyPixmap, translucencyLabel, checkerboard, rgb);
}

void QElementViewer::validModelIndex()
{
  elementImages->push_back(
      {keyElementImage(view->image(), transparencyColor, translucencyColor), pathBaseName(paths[current])});
  if (current + 1 == paths.size()) {
    close();
    return;
  }
  view->setImage(paths[++current]);
  current = skipUnreadable(*view, paths, current);
  if (view->image().isNull()) {
    close();
    return;
  }
  updateTitle();
  zoomBox->setCurrentIndex(0);
  resetColours();
  view->resize(view->shownSize());
}

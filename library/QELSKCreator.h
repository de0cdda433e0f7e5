#pragma once
#include "library/ElementImage.h"
#include "model/CharacterData.h"

#include <QModelIndex>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

class LibraryDirModel;
class QCategoryDialog;
class QLabel;
class QLayerListELSK;
class QLineEdit;
class QListViewKey;
class QPushButton;

// Composes an element file from simple PNG elements placed around an entry
// that stands for the element a character will have selected, and stores it
// in a category of one layout's library. Touches no open character.
//
// The composition holds that entry (source "?SK?") once, and one simple
// element per record of elementImages, whose source is the record's index in
// decimal: the sources are 0 to size - 1, each once, and nextSource is the
// size. The save reads the sheets through these sources, so reordering the
// list needs nothing from the window.
class QELSKCreator : public QWidget
{
  Q_OBJECT

public:
  explicit QELSKCreator(char type, QWidget* parent = nullptr);
  ~QELSKCreator() override;

public slots:
  void validModelIndex(const QModelIndex& modelIndex);
  void validModelIndex();
  void backElement();
  void makeADir();
  void changeValid(QString str);
  void updateInformation(int index);
  void validMkDir();
  void dirNameChanged(QString str);
  void addSingleElement();
  void updateInfo();

private:
  void showFolder(const QString& path);

  CharacterData elementData;
  QString currentPath;
  QString basePath;
  QLabel* informationLabel = nullptr;
  QPointer<QLabel> dirInformationLabel;
  LibraryDirModel* dirModel = nullptr;
  QListViewKey* dirView = nullptr;
  QPushButton* backButton = nullptr;
  QPushButton* validButton = nullptr;
  QPushButton* mkDirButton = nullptr;
  QPointer<QPushButton> validMkDirButton;
  QLineEdit* nameEdit = nullptr;
  QPointer<QLineEdit> dirNameEdit;
  // Each opening makes a new one, deleted when it closes.
  QPointer<QCategoryDialog> mkDirDialog;
  std::vector<ElementImage> elementImages;
  QLayerListELSK* layerList = nullptr;
  int nextSource = 0;
  QLabel* pathLabel = nullptr;
};

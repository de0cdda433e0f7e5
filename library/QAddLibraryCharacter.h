#pragma once
#include <QColor>
#include <QImage>
#include <QModelIndex>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

class LibraryDirModel;
class QCategoryDialog;
class QComboBox;
class QElementView;
class QLabel;
class QLineEdit;
class QListViewKey;
class QPushButton;
class QScrollArea;

// Stores PNG images, one after another, as simple elements of a library
// folder: the user picks the folder, the name and the two keying colours,
// and "Valider" writes the keyed image there. Touches no open character and
// no setting.
class QAddLibraryCharacter : public QWidget
{
  Q_OBJECT

public:
  explicit QAddLibraryCharacter(const QStringList& files);

  // Set when none of the files could be read: the window closed itself and
  // is not to be shown.
  bool noValidImage = false;

public slots:
  void validModelIndex(const QModelIndex& modelIndex);
  void validModelIndex();
  void backElement();
  void makeADir();
  void changeValid(QString str);
  void updateColor(const QColor& rgb, int type);
  void updateZoom(int index);
  void validMkDir();
  void dirNameChanged(QString str);
  void updateInfo();

private:
  void updateTitle();
  void resetColours();
  void setFolder(const QString& path);

  QString currentPath;
  QString basePath;
  QStringList files;
  QElementView* preview = nullptr;
  QScrollArea* previewArea = nullptr;
  QLabel* transparencyLabel = nullptr;
  QLabel* translucencyLabel = nullptr;
  QLabel* statusLabel = nullptr;
  QPointer<QLabel> categoryStatusLabel;
  QLabel* folderLabel = nullptr;
  QPixmap transparencyPixmap;
  QPixmap translucencyPixmap;
  QImage checkerboard;
  LibraryDirModel* dirModel = nullptr;
  QListViewKey* listView = nullptr;
  QPushButton* backButton = nullptr;
  QPushButton* validButton = nullptr;
  QPushButton* newCategoryButton = nullptr;
  QPointer<QPushButton> categoryValidButton;
  QLineEdit* nameField = nullptr;
  QPointer<QLineEdit> categoryNameField;
  QColor transparencyColor;
  QColor translucencyColor;
  // Each opening makes a new one, deleted when it closes.
  QPointer<QCategoryDialog> categoryDialog;
  QComboBox* zoomBox = nullptr;
  int index = 0;
};

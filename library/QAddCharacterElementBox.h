#pragma once
#include <QDialog>
#include <QMdiSubWindow>
#include <QModelIndex>
#include <QPointer>
#include <QString>

class CharacterData;
class LibraryDirModel;
class PreviewMaker;
class QTimer;
class QCheckBox;
class QLabel;
class QLayer;
class QLayerList;
class QListViewKey;
class QMdiArea;
class QPushButton;
class QScrollArea;

// The modeless "Ajouter des éléments" box: browses the element library and
// adds the chosen sheet or element file, or a blank drawing element, to the
// character of the MDI area's current sub-window, one undo step each. It
// follows the MDI area, so whichever character the user activates becomes
// its target.
class QAddCharacterElementBox : public QDialog
{
  Q_OBJECT

public:
  QAddCharacterElementBox(QMdiArea* mdiArea, QLayerList* layerList, QWidget* parent);

  CharacterData* targetData() const { return m_targetLayer ? m_targetData : nullptr; }
  void setTargetData(CharacterData* data) { m_targetData = data; }
  QLayer* targetLayer() const { return m_targetLayer; }
  void setTargetLayer(QLayer* layer);
  QLayerList* layerList() const { return m_layerList; }
  void setLayerList(QLayerList* list) { m_layerList = list; }

public slots:
  void showElement(const QModelIndex& index);
  void validModelIndex(const QModelIndex& index);
  void validModelIndex();
  void backElement();
  void addDessinLayer();
  void updateActiveWindow(QMdiSubWindow* window);
  void updateInfo();

private:
  void showPreview(const QImage& picture);
  void enterFolder(const QString& name);
  bool addImageFile(CharacterData& document, const QString& path, const QString& name);
  bool addElementFile(CharacterData& document, const QString& path, const QString& name);
  // The target, or null (after the information box) when there is none.
  CharacterData* documentOrInform(const char* text);
  void finishAddition(const std::string& label);

  QString currentPath;
  QString basePath;
  QLabel* previewLabel;
  QLabel* pathLabel;
  QScrollArea* previewArea;
  PreviewMaker* previewMaker;
  QTimer* previewLate;
  LibraryDirModel* dirModel;
  QListViewKey* listView;
  QPushButton* backButton;
  QPushButton* validButton;
  QCheckBox* convertBox;
  QCheckBox* closeBox;
  CharacterData* m_targetData = nullptr;
  // A closed sub-window takes its canvas along: the pointer then reads null.
  QPointer<QLayer> m_targetLayer;
  QLayerList* m_layerList;
  QMdiArea* mdiArea;
  bool noDocument = true;
};

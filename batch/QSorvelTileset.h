#pragma once
// The window of the tileset merge: the list of tilesets, a full-size
// preview of the selected one, and a small progress window per merge. It is
// never destroyed while the program runs, so no window goes from under a
// running worker.

#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QWidget>

class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QTilesetView;

class QSorvelTileset : public QWidget
{
  Q_OBJECT

public:
  QSorvelTileset();
  ~QSorvelTileset() override;

  // Opens a progress window and starts a worker on a copy of the list.
  void beginSorvel(const QString& outputPath);
  // The text before the last "/" (the whole text without one).
  static QString pathDirectory(const QString& path);

public slots:
  void addFiles();
  void updateFileName(const QString& str);
  void setEnabledButton(bool b);
  void sorvelInterface();
  // Called directly, these two act on the latest progress window; each
  // merge's worker reports to its own window instead.
  void setAvancement(uint value, const QString& info);
  void setConclusion(const QStringList& info);

private:
  static QPixmap placeholder();
  void conclude(QDialog* window, QProgressBar* bar, QLabel* text, const QStringList& failed,
                const QString& unwrittenPath);

  QTilesetView* tilesetView;
  QLabel* previewLabel;
  QPushButton* sorvelButton;
  QPixmap preview;
  QScrollArea* previewArea;
  QProgressBar* progressBar = nullptr;
  QLabel* progressText = nullptr;
  QDialog* progressWindow = nullptr;
};

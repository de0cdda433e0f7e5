#pragma once
// The three-step window that converts character sheet files between the
// 2003, XP and VX layouts: step 1 picks files or a whole folder, step 2 the
// inputs and the direction, step 3 follows the worker to its report. It is
// never destroyed while the program runs, so no window goes from under a
// running worker.

#include <QString>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

class QConvertChara : public QWidget
{
  Q_OBJECT

public:
  QConvertChara();
  ~QConvertChara() override;

  // The existing files a conversion would overwrite (see ConversionPrediction).
  static void buildOutputNames(QStringList& replaced, const QStringList& files, quint8 filesMode, quint8 direction,
                               qint8 characterCount);
  static void predictOutputName(const QString& path, quint8 direction, QString* result, qint8 characterCount);

public slots:
  void convertWindow();
  void closeAll();
  void searchFileNames();
  void convert();
  // Called directly, these three act on the latest step-3 window; each run's
  // worker reports to its own window instead.
  void fatalError(const QString& error);
  void setAvancement(uint value, const QString& info);
  void setConclusion(const QStringList& info, const QString& infoDir);

private:
  void showProgress(QProgressBar* bar, QLabel* label, uint value, const QString& info);
  void showReport(QDialog* window, QProgressBar* bar, QLabel* label, const QStringList& failed,
                  const QStringList& unwritten, const QString& infoDir);
  void showFatal(QDialog* window, const QString& error);

  QRadioButton* filesRadio;
  QRadioButton* folderRadio;
  QLineEdit* pathEdit = nullptr;
  QStringList files;
  QComboBox* directionCombo = nullptr;
  QPushButton* nextButton = nullptr;
  QDialog* stepWindow = nullptr;
  QProgressBar* progressBar = nullptr;
  QLabel* infoLabel = nullptr;
};

#pragma once
// What to do with one dropped image or element file: add it to the open
// character, open it as a new one, skip it, or cancel the rest of the drop.
// The caller reads action after the dialog has closed.
#include <QDialog>
#include <QIcon>
#include <QStringList>

class QOptionWidget;

class QDropWidget : public QDialog
{
  Q_OBJECT

public:
  QDropWidget(const QString& fileName, QWidget* parent = nullptr);
  QDropWidget(const QString& fileName, const QString& title, const QIcon& icon, QWidget* parent = nullptr);

  QOptionWidget* addOption;
  QOptionWidget* openOption;
  QOptionWidget* skipOption;
  QOptionWidget* cancelOption;
  // 0 add, 1 open, 2 skip; 3 cancel, also when no tile was chosen.
  int action = 3;

public slots:
  void addAction();
  void openAction();
  void skipAction();
  void cancelAction();

private:
  void build(const QString& fileName, const QString& fileLine, const QStringList& tileTexts);
};

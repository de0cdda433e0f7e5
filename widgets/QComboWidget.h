#pragma once
// The modal dialog for picking one of several choices: a header over a column
// of option tiles; the answer is the index of the tile pressed, -1 when none.
// The ready-made questions of the program are built from it.
#include <QDialog>
#include <QList>
#include <QPixmap>
#include <QString>

class QLabel;
class QOptionWidget;
class QVBoxLayout;

struct ComboChoice
{
  QPixmap icon;
  QString title;
  QString text;
  // False: the dialog stays open and only the caller's connections act.
  bool closesDialog = true;
};

class QComboWidget : public QDialog
{
  Q_OBJECT

public:
  QComboWidget(const QString& title, const QString& text, QWidget* parent = nullptr);
  QComboWidget(const QPixmap& icon, const QString& title, const QString& text, QWidget* parent = nullptr);
  ~QComboWidget() override;

  ComboChoice* addChoice(const QPixmap& icon, const QString& title, const QString& text, bool closesDialog);
  // Takes ownership of choices made elsewhere.
  void addChoices(const QList<ComboChoice*>& list);

  // Connections on a choice's tile; false, with nothing done, for an index out
  // of range or a choice that is not this dialog's.
  bool connectChoice(int index, const char* signal, const QObject* receiver, const char* method,
                     Qt::ConnectionType type = Qt::AutoConnection);
  bool connectChoice(ComboChoice* choice, const char* signal, const QObject* receiver, const char* method,
                     Qt::ConnectionType type = Qt::AutoConnection);
  bool disconnectChoice(int index, const char* signal, const QObject* receiver, const char* method);
  bool disconnectChoice(ComboChoice* choice, const char* signal, const QObject* receiver, const char* method);

  // Index of the last tile pressed; -1 until one is.
  int chosenIndex = -1;

public slots:
  void valid();

private:
  void addTile(ComboChoice* choice);
  QOptionWidget* tileOf(int index) const;

  QList<ComboChoice*> choices;
  QList<QOptionWidget*> tiles;
  QList<bool> closesFlags;
  QLabel* titleLabel;
  QLabel* textLabel;
  QLabel* iconLabel;
  QVBoxLayout* mainLayout;
};

// How many characters each converted VX image holds: 0 decide by the file
// name, 1 one, 2 eight; -1 when the question is closed.
int askCharacterCount(QWidget* parent);
// Offered when no default character exists. Does not wait: the dialog stays
// open while the help slot and the assign slot of receiver (SLOT() names) act.
void askDefaultCharacter(QObject* receiver, const char* helpSlot, const char* assignSlot, QWidget* parent);
// 0 save, 1 save all, 2 do not save, 3 cancel; -1 when closed.
int askSaveBeforeClose(const QString& path, QWidget* parent);
// 0 save, 1 do not save, 2 cancel; -1 when closed.
int askSaveBeforeCloseSingle(const QString& path, QWidget* parent);
// The layout an element is for: 0 XP, 1 VX; -1 when closed.
int askElementType(QWidget* parent);

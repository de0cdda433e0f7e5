#pragma once
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

class QColor;
class QDialog;
class QUrl;
class QWidget;
class GradientSettings;

// The one door through which every modal question, message box and file
// dialog of the program goes. The members default to the toolkit's own
// dialogs; tests replace them to answer without a display.
struct Prompts
{
  // Runs a message box that the caller built and returns the clicked standard
  // button.
  std::function<QMessageBox::StandardButton(QMessageBox& box)> runMessageBox;
  // A question's and a message's text are rich text: whoever quotes a path
  // or a name in one passes it through richTextEscaped (core/PathUtils.h),
  // which also keeps its runs of spaces. A message's detailed text stays
  // plain.
  std::function<QMessageBox::StandardButton(QWidget* parent, const QString& title, const QString& text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton)>
      question;
  std::function<void(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                     const QString& detailedText)>
      message;
  // The about box: a title and a rich text.
  std::function<void(QWidget* parent, const QString& title, const QString& text)> about;
  std::function<QString(QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                        QString* selectedFilter)>
      openFileName;
  std::function<QStringList(QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                            QString* selectedFilter)>
      openFileNames;
  std::function<QString(QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                        QString* selectedFilter)>
      saveFileName;
  std::function<QString(QWidget* parent, const QString& caption, const QString& dir)> existingDirectory;
  // A choice among items; *ok tells whether the user validated.
  std::function<QString(QWidget* parent, const QString& title, const QString& label, const QStringList& items,
                        int current, bool editable, bool* ok)>
      item;
  // Runs a modal dialog that the caller built and returns its exec() result.
  // Tests receive the real dialog, read its texts and answer by pressing one
  // of its buttons or tiles, or by rejecting it.
  std::function<int(QDialog& dialog)> runDialog;
  // The colour dialog behind the colour box's getColor: edits color in place
  // and returns whether the user validated. Empty means the colour box runs
  // its own dialog form (the core cannot build a window of the colour room).
  std::function<bool(QWidget* parent, QColor& color, bool alphaEnabled, const QString& title)> color;
  // The gradient editor behind its getGradient: edits the settings in place
  // and returns whether the user validated. Empty means the editor runs its
  // own dialog (the core cannot build a window of the colour room).
  std::function<bool(QWidget* parent, GradientSettings& settings, const QColor& color, const QString& title)>
      gradient;
  // Hands a web address to the desktop's browser.
  std::function<bool(const QUrl& url)> openUrl;
};

// The process-wide instance; tests replace its members.
Prompts& prompts();
// Back to the toolkit defaults.
void resetPrompts();

// The suffix of a file filter's first pattern ("Image (*.png)" gives "png"),
// empty when it names none.
QString filterSuffix(const QString& filter);

// Whether path may be written: it is the name the user answered, or it was
// made from that answer by appending a suffix and the user agreed to replace
// the file of that name. The toolkit's overwrite question only saw the answer.
bool mayReplaceAppendedName(QWidget* parent, const QString& title, const QString& answer, const QString& path);

// The file dialogs that open in the folder a "path…" settings key remembers
// (fallback while the key is missing) and remember the folder chosen. The key
// is read, and the folder stored, each through a short-lived settings object,
// the second built after the dialog closed so that it overwrites nothing
// another window stored meanwhile. An answer holding "?" (the mark of an
// element source) is used but its folder not stored. An empty list means
// cancelled.
enum class FileDialogKind { OpenFile, OpenFiles, SaveFile, Folder };
QStringList askInRememberedFolder(FileDialogKind kind, QWidget* parent, const char* key, const QString& fallback,
                                  const QString& caption, const QString& filter = QString(),
                                  QString* selectedFilter = nullptr);

#pragma once
// Scripted answers for every prompt of the program, and the record of what
// was asked, so that window tests run without a display. Construct one in a
// test; it installs itself into prompts() and restores the toolkit's prompts
// when it goes.
#include "widgets/Prompts.h"

#include <QCheckBox>
#include <QColor>
#include <QDialog>
#include <QLabel>
#include <QList>
#include <QUrl>

#include <deque>
#include <functional>

struct PromptRecorder
{
  struct Asked
  {
    QString kind;  // "box", "question", "message", "about", "open", "openMany", "save", "dir", "item",
                   // "dialog", "color", "gradient", "url"
    QString title; // window title or caption
    QString text;  // text, label, or for file dialogs the start folder
    QString filter;
    int icon = 0;       // QMessageBox::Icon of messages and boxes
    bool alpha = false; // the colour dialog's alpha flag
    QString details;    // a message's or box's detailed text
    QStringList extra;  // a box's informative text, added labels, then its check box's text
    QSize pixmap;       // a box's icon pixmap
  };
  QList<Asked> asked;

  // Answers, taken from the front, one per prompt of that kind.
  std::deque<QMessageBox::StandardButton> buttons; // boxes and questions; none left: Cancel (or No)
  std::deque<int> ticks;                           // a box's check box: 1 ticked, 0 not; none left: as it is
  std::deque<QString> files;                       // file and folder dialogs; none left: "" (cancelled)
  std::deque<QString> selectedFilters;             // the filter chosen with each file answer
  std::deque<std::function<int(QDialog&)>> dialogs; // runDialog; none left: rejected
  std::deque<QString> items;                        // item choices; none left: cancelled
  std::deque<std::function<bool(QColor&, bool)>> colors; // none left: cancelled
  std::deque<std::function<bool(GradientSettings&)>> gradients; // none left: cancelled

  PromptRecorder() { install(); }
  ~PromptRecorder() { resetPrompts(); }
  PromptRecorder(const PromptRecorder&) = delete;
  PromptRecorder& operator=(const PromptRecorder&) = delete;

  QStringList titles() const
  {
    QStringList out;
    for (const Asked& a : asked)
      out << a.title;
    return out;
  }
  QStringList kinds() const
  {
    QStringList out;
    for (const Asked& a : asked)
      out << a.kind;
    return out;
  }

private:
  void note(const QString& kind, const QString& title, const QString& text, const QString& filter = QString(),
            int icon = 0, bool alpha = false)
  {
    asked << Asked{kind, title, text, filter, icon, alpha, QString(), QStringList(), QSize()};
  }

  template <class T, class D>
  static T take(std::deque<T>& q, D fallback)
  {
    if (q.empty())
      return T(fallback);
    T v = q.front();
    q.pop_front();
    return v;
  }

  QString answerFile(QString* selectedFilter)
  {
    QString f = take(files, QString());
    QString sel = take(selectedFilters, QString());
    if (selectedFilter && !sel.isEmpty())
      *selectedFilter = sel;
    return f;
  }

  void install()
  {
    Prompts& p = prompts();
    p.runMessageBox = [this](QMessageBox& box) {
      note("box", box.windowTitle(), box.text(), QString(), int(box.icon()));
      // The box's own check box, or one that a question laid out itself.
      QCheckBox* check = box.checkBox() ? box.checkBox() : box.findChild<QCheckBox*>();
      if (check && !ticks.empty()) {
        check->setChecked(ticks.front() == 1);
        ticks.pop_front();
      }
      Asked& shown = asked.last();
      shown.pixmap = box.iconPixmap().size();
      shown.details = box.detailedText();
      if (!box.informativeText().isEmpty())
        shown.extra << box.informativeText();
      for (QLabel* label : box.findChildren<QLabel*>())
        if (!label->objectName().startsWith(QLatin1String("qt_msgbox")) && !label->text().isEmpty())
          shown.extra << label->text();
      if (check)
        shown.extra << check->text();
      return take(buttons, QMessageBox::Cancel);
    };
    p.question = [this](QWidget*, const QString& title, const QString& text, QMessageBox::StandardButtons,
                        QMessageBox::StandardButton) {
      note("question", title, text);
      return take(buttons, QMessageBox::No);
    };
    p.message = [this](QWidget*, QMessageBox::Icon icon, const QString& title, const QString& text,
                       const QString& detailedText) {
      note("message", title, text, QString(), int(icon));
      asked.last().details = detailedText;
    };
    p.about = [this](QWidget*, const QString& title, const QString& text) { note("about", title, text); };
    p.openFileName = [this](QWidget*, const QString& caption, const QString& dir, const QString& filter,
                            QString* selectedFilter) {
      note("open", caption, dir, filter);
      return answerFile(selectedFilter);
    };
    p.openFileNames = [this](QWidget*, const QString& caption, const QString& dir, const QString& filter,
                             QString* selectedFilter) {
      note("openMany", caption, dir, filter);
      QString f = answerFile(selectedFilter);
      return f.isEmpty() ? QStringList() : f.split('\n');
    };
    p.saveFileName = [this](QWidget*, const QString& caption, const QString& dir, const QString& filter,
                            QString* selectedFilter) {
      note("save", caption, dir, filter);
      return answerFile(selectedFilter);
    };
    p.existingDirectory = [this](QWidget*, const QString& caption, const QString& dir) {
      note("dir", caption, dir);
      return take(files, QString());
    };
    p.item = [this](QWidget*, const QString& title, const QString& label, const QStringList&, int, bool, bool* ok) {
      note("item", title, label);
      QString answer = take(items, QString());
      if (ok)
        *ok = !answer.isEmpty();
      return answer;
    };
    p.runDialog = [this](QDialog& dialog) {
      note("dialog", dialog.windowTitle(), QString());
      auto answer = take(dialogs, std::function<int(QDialog&)>());
      return answer ? answer(dialog) : int(QDialog::Rejected);
    };
    p.color = [this](QWidget*, QColor& color, bool alphaEnabled, const QString& title) {
      note("color", title, QString(), QString(), 0, alphaEnabled);
      auto answer = take(colors, std::function<bool(QColor&, bool)>());
      return answer ? answer(color, alphaEnabled) : false;
    };
    p.gradient = [this](QWidget*, GradientSettings& settings, const QColor&, const QString& title) {
      note("gradient", title, QString());
      auto answer = take(gradients, std::function<bool(GradientSettings&)>());
      return answer ? answer(settings) : false;
    };
    p.openUrl = [this](const QUrl& url) {
      note("url", QString(), url.toString());
      return true;
    };
  }
};

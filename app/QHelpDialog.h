#pragma once
#include <QString>
#include <QUrl>
#include <QWidget>

class QModelIndex;
class QStandardItemModel;
class QTextBrowser;

// The help manual: the tree of topics beside the page of the topic clicked.
// The pages are files under help/ in the current folder; each topic's file
// name follows from its title (pageUrl).
class QHelpDialog : public QWidget
{
  Q_OBJECT

public:
  // page: a path relative to the current folder, such as
  // "help/introduction.html", with an optional #anchor.
  explicit QHelpDialog(const QString& page, QWidget* parent = nullptr);
  ~QHelpDialog() override;

  void loadPage(const QUrl& url);
  // "Zone d'effet des retouches" -> help/zone_deffet_des_retouches.html
  static QUrl pageUrl(QString title);

  QTextBrowser* view;
  QStandardItemModel* model;

public slots:
  void loadFromItem(const QModelIndex& index);
};

// The file URL of a help page given relative to the current folder, fragment
// kept; any other URL is returned as it is. A page view needs it: it resolves
// a relative source against the page it shows, not against the current folder.
QUrl helpFileUrl(const QUrl& url);

#pragma once
#include <QListView>

// A list view that also reports the item made current by the Up and Down
// arrow keys, so that a preview driven by clicks follows the keyboard too.
class QListViewKey : public QListView
{
  Q_OBJECT

public:
  explicit QListViewKey(QWidget* parent = nullptr);

signals:
  void selectedByKey(QModelIndex index);

protected:
  void keyPressEvent(QKeyEvent* event) override;
};

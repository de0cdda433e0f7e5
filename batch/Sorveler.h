#pragma once
// The worker of the tileset merge: stacks tileset images one below the
// other on a canvas 256 pixels wide and writes it as one PNG file. It gets
// copies of the list and the path and reports only through its signals.

#include <QImage>
#include <QString>
#include <QStringList>
#include <QThread>

#include <vector>

class Sorveler : public QThread
{
  Q_OBJECT

public:
  // Nothing runs until the caller starts the thread.
  Sorveler(const QStringList& files, const QString& outputPath, QObject* parent = nullptr);
  // Waits for a running merge: a thread destroyed while it runs would abort
  // the program.
  ~Sorveler() override;

  // The w x h block of src at (sx, sy) goes to dst at (dx, dy), every 32-bit
  // word as it is, alpha included: a transparent pixel keeps its colour
  // bits. Source points outside src read as 0x00000000; destination points
  // outside dst are dropped.
  static void copyBlock(QImage& dst, const QImage& src, uint dx, uint dy, uint sx, uint sy, uint w, uint h);

signals:
  void changeProgress(uint value, QString info);
  // Just before finishThread, when no file was written: no rows to write, a
  // canvas taller than the PNG writer takes, or a failed write.
  void outputFailed();
  // The end of the job: the inputs that did not read as images.
  void finishThread(QStringList info);

protected:
  void run() override;

private:
  // The merged canvas, or a null image when there is nothing to write or it
  // is too tall to write or to hold. Drops each input once it is placed.
  QImage place(std::vector<QImage>& images);

  QStringList files;
  QStringList failed;
  QString outputPath;
};

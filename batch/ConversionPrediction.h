#pragma once
// The files a conversion would overwrite, listed before it starts so that the
// user can be warned. The conversion wizard's static members of the same
// names forward here.

#include <QString>
#include <QStringList>

class ConversionPrediction
{
public:
  // Appends to replaced the existing files that a conversion of files
  // (chosen files, or one folder when filesMode is 0) in that direction
  // would write, in the worker's order. Nothing when the output sub-folder
  // does not exist yet. The inputs are decoded side by side, under a wait
  // cursor.
  static void buildOutputNames(QStringList& replaced, const QStringList& files, quint8 filesMode, quint8 direction,
                               qint8 characterCount);

  // The path the input will be written to; for a file of eight characters
  // split in eight, every path followed by "|"; "?ERROR?" when the input
  // gives no new file (it does not load, or its character joins a 2003
  // sheet an earlier input named). Direction 6 empties the sheet count;
  // result may then be null.
  static void predictOutputName(const QString& path, quint8 direction, QString* result, qint8 characterCount);

  // The predicted 2003 sheet, used on the GUI thread only and emptied after
  // every list.
  struct SheetCount
  {
    quint8 count = 0;
    QString path;
    quint8 lastDirection = 6;
  };
  static const SheetCount& sheetCount() { return s_sheet; }

private:
  // The paths of one input whose image is width pixels wide (-1: it does not
  // load); none for "?ERROR?".
  static QStringList predictNames(const QString& path, int width, quint8 direction, qint8 characterCount);

  static SheetCount s_sheet;
};

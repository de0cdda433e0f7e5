// Feeds arbitrary bytes to the project-file reader (both versions), then edits
// what it accepted.
#include "fuzz/AfterLoad.h"
#include "fuzz/FuzzInput.h"
#include "model/CharacterData.h"

#include <QImage>

namespace {

void makeSeeds(const QString& dir)
{
  CharacterData doc(XP, QSize(128, 192));
  doc.addElement("", 0);
  QImage cell(3, 2, QImage::Format_ARGB32);
  cell.fill(0x80FF0000u);
  doc.setImage(cell, 0, 5);
  doc.setOffset(QPoint(-3, 7), 0, 5);
  doc.setName("Tête", 0);
  for (unsigned char v : {0, 1}) {
    doc.saveProjectFile((dir + QString("/xp-v%1.sk").arg(v)).toStdString(), v);
    CharacterData empty(VX, QSize(0, 0));
    empty.saveProjectFile((dir + QString("/vx-empty-v%1.sk").arg(v)).toStdString(), v);
  }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  fuzz::writeSeedsIfAsked(makeSeeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const std::string path = fuzz::inputPath(".sk");
  if (!fuzz::writeInput(path, data, size))
    return 0;
  CharacterData doc;
  unsigned char version = 0;
  if (doc.loadProjectFile(path, &version))
    fuzz::runAfterLoad(doc);
  return 0;
}

// Feeds arbitrary bytes to the palette-file reader, over a dialog-sized
// palette so that every record a file may hold is read.
#include "core/PaletteFile.h"
#include "fuzz/FuzzInput.h"

namespace {

void makeSeeds(const QString& dir)
{
  writePaletteFile(dir + "/dock.skp", defaultPalette(20, 6));
  writePaletteFile(dir + "/dialog.skp", defaultPalette(33, 6));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  fuzz::writeSeedsIfAsked(makeSeeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const std::string path = fuzz::inputPath(".skp");
  if (!fuzz::writeInput(path, data, size))
    return 0;
  std::vector<QColor> cells = defaultPalette(33, 6);
  QString error;
  readPaletteFile(QString::fromStdString(path), cells, error);
  return 0;
}

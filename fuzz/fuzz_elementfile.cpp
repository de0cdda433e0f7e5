// Feeds arbitrary bytes to the element-file reader, then edits what it
// accepted.
#include "fuzz/AfterLoad.h"
#include "fuzz/FuzzInput.h"
#include "model/ElementFile.h"

namespace {

QImage sheet(int w, int h, uint32_t word)
{
  QImage img(w, h, QImage::Format_ARGB32);
  img.fill(kBlankPixel);
  for (int y = 2; y < h; y += 7)
    for (int x = 1; x < w; x += 5)
      img.setPixel(x, y, word);
  return img;
}

void makeSeeds(const QString& dir)
{
  saveElementFile((dir + "/xp.elsk").toUtf8().constData(), {sheet(128, 192, 0xFFFF0000u), sheet(96, 128, 0x8000FF00u)}, 1, XP);
  saveElementFile((dir + "/vx.elsk").toUtf8().constData(), {sheet(96, 128, 0xFF0000FFu)}, 0, VX);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  fuzz::writeSeedsIfAsked(makeSeeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const std::string path = fuzz::inputPath(".elsk");
  if (!fuzz::writeInput(path, data, size))
    return 0;
  std::string error;
  auto groups = loadElementFile(path, error);
  if (groups)
    fuzz::runAfterLoad((*groups)[0]);
  return 0;
}

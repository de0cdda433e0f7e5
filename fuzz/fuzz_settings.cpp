// Feeds arbitrary bytes to the settings-file reader, then writes the store
// back and reads it again.
#include "core/IniFile.h"
#include "fuzz/FuzzInput.h"

namespace {

void makeSeeds(const QString& dir)
{
  QFile f(dir + "/sorvelkit.ini");
  if (f.open(QIODevice::WriteOnly))
    f.write("[Path]\npathLoadSKFile=/home/user/sprites\nrecentFiles=/a.sk|/b.sk\n"
            " [Sub]\n zoom=2.50\n[Color]\nprimary=-16777216\nsecondary=-1\n"
            "[Render]\nperiode=1000\n[showAgain]\nshowAlpha=1\nshowDrawElement=4\n");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  fuzz::writeSeedsIfAsked(makeSeeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const std::string path = fuzz::inputPath(".ini");
  if (!fuzz::writeInput(path, data, size))
    return 0;
  IniFile store;
  if (store.read(path.c_str()) && store.write(path)) {
    IniFile again;
    again.read(path.c_str());
  }
  return 0;
}

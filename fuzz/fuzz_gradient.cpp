// Feeds arbitrary bytes to the gradient-file reader.
#include "core/GradientFile.h"
#include "fuzz/FuzzInput.h"

namespace {

void makeSeeds(const QString& dir)
{
  GradientFileData linear;
  linear.points = {0, 100, 200, 100};
  linear.stops = {{0.0, QColor(0, 0, 0)}, {1.0, QColor(255, 255, 255)}};
  saveGradientFile(dir + "/linear.skd", linear);
  GradientFileData radial = linear;
  radial.type = 1;
  radial.spread = 2;
  radial.points = {100, 100, 100, 0, 100, 50};
  radial.stops.push_back({0.5, QColor(255, 0, 0, 128)});
  saveGradientFile(dir + "/radial.skd", radial);
  GradientFileData empty;
  empty.type = 2;
  empty.points = {100, 100, 100, 0};
  saveGradientFile(dir + "/empty.skd", empty);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  fuzz::writeSeedsIfAsked(makeSeeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const std::string path = fuzz::inputPath(".skd");
  if (!fuzz::writeInput(path, data, size))
    return 0;
  QString error;
  const std::optional<GradientFileData> file = loadGradientFile(QString::fromStdString(path), error);
  // What the widgets rely on: a known kind and spread, and the points it needs.
  if (file && (file->type > 2 || file->spread > 2 || file->points.size() != (file->type == 1 ? 6u : 4u)))
    __builtin_trap();
  return 0;
}

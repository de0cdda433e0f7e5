#include "ops/ResizeBound.h"

#include "model/CharacterData.h"

bool resizeKeepsCellsReadable(CharacterData& document, double sx, double sy, bool fromSnapshot)
{
  const CharacterData::Snapshot& saved = document.snapshot();
  bool fits = true;
  document.forEachScopedCell([&](int e, int c) {
    const std::vector<std::vector<QImage>>& images = fromSnapshot ? saved.images : document.images();
    if (e >= static_cast<int>(images.size()) || c >= static_cast<int>(images[e].size()))
      return;
    const QSize size = images[e][c].size();
    // The new side is the product truncated: at most the bound below bound + 1.
    fits = fits && size.width() * sx < kMaxSheetSide + 1.0 && size.height() * sy < kMaxSheetSide + 1.0;
  });
  return fits;
}

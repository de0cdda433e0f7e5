#pragma once
#include <QImage>

#include <cstdint>

// Lays the w x h block of src at (sx, sy) over the block of dst at (dx, dy):
// source-over on non-premultiplied ARGB32 words, in double precision,
// truncated toward zero; a pixel where both alphas are 0 is left untouched.
// No clipping: the caller keeps both blocks inside their images.
void blendImage(QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int w, int h);

// The same rule over one run of n words, for callers that hold raw rows
// (several threads writing disjoint rows of one image).
void blendSpan(uint32_t* dst, const uint32_t* src, int n);

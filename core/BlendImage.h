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

// The same rule for one source word over one destination word, except that
// the alpha and the channels are rounded to nearest (halves away from zero)
// instead of truncated.
uint32_t blendPixelRounded(uint32_t src, uint32_t dst);

// The rounded rule over a w x h block, every source pixel whose alpha is above
// 0 taking the given alpha (brought into 0..255) first. The block is clipped
// to both images.
void blendImageWithAlpha(QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int w, int h, int alpha);

// Cuts a block to both images, moving both corners together; false when
// nothing of it is left.
bool clipBlock(const QSize& dst, int& dx, int& dy, const QSize& src, int& sx, int& sy, int& w, int& h);

#pragma once
// Convolution filters on cell images. Each builds its kernel and applies it;
// the "From" forms read src and write the result into dst, which is resized
// to src when it differs.
#include "ops/Kernel.h"

#include <QImage>

void sharpenFilter(QImage& image, int size, int strength);
void tentFilter(QImage& image, int size, int strength);
void edgeWeightedFilter(QImage& image, int size, int strength);
void tentFilterFrom(QImage& dst, int size, int strength, const QImage& src);
void edgeWeightedFilterFrom(QImage& dst, int size, int strength, const QImage& src);

// For every pixel of src: the weighted sums of its four channels over the
// kernel cells whose source pixel exists, divided by the sum W of those
// weights and truncated (the raw sums when W is 0). A mean of red, green and
// blue below 0 gives opaque black, above 255 opaque white; otherwise each
// channel, brought into 0..255, is kept. Reads src only, even when dst is the
// same image.
void applyKernelFrom(QImage& dst, const Kernel& kernel, const QImage& src);
void applyKernel(QImage& image, const Kernel& kernel);

#pragma once
#include <vector>

// A square of n x n integer weights, n odd, row by row: the weight at
// (dx, dy), both from -(n - 1) / 2 to (n - 1) / 2, applies to the source pixel
// at that distance. The weights are whole numbers held in doubles, so that
// the products of a huge size and strength cannot overflow; below 2^53 they
// and their sums stay exact.
struct Kernel
{
  int n = 1;
  std::vector<double> weights{1.0};

  bool isValid() const { return n >= 1 && n % 2 == 1 && weights.size() == static_cast<std::size_t>(n) * n; }
  double at(int dx, int dy) const { return weights[(dy + n / 2) * n + dx + n / 2]; }
};

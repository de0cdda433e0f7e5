#pragma once
#include <QColor>

// One channel of the HSL to RGB conversion, 0..1; h is wrapped into 0..1.
double hueToChannel(double p, double q, double h);
// hsl: hue, saturation, lightness, each 0..1. The colour keeps its alpha.
void hslToColor(const float hsl[3], QColor& colour);
// Writes hue in degrees (0..360), saturation and lightness in 0..255.
void colorToHsl(const QColor& colour, float hsl[3]);
// Brings value into low..high; a NaN becomes low.
void clampFloat(float& value, float low, float high);
// low when value < low, otherwise the smaller of value and high.
int clampValue(int value, int low, int high);

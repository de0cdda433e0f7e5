#pragma once

// A hue, saturation and lightness change.
struct TslShift
{
  float hue = 0.f;        // degrees: added, or the hue itself when absolute
  float saturation = 0.f; // percent, -100..100
  float lightness = 0.f;  // percent, -100..100
};

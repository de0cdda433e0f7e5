#pragma once
#include "core/GradientSettings.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPoint>
#include <QPointF>
#include <QRadialGradient>
#include <QSize>

// The gradient in use laid over a target of the given size whose top-left
// corner is the origin. The points go through the gradient view's 200-pixel
// grid, so the result is exactly what the gradient editor shows. Each function
// reads the geometry as its own kind, whatever the settings' type; without
// stops, or with too few geometry values, the view's default points are used.
// No widget is built: these may run off the GUI thread.
QLinearGradient linearGradientBrush(const GradientSettings& settings, const QSize& size);
QRadialGradient radialGradientBrush(const GradientSettings& settings, const QSize& size);
QConicalGradient conicalGradientBrush(const GradientSettings& settings, const QSize& size);

QPointF toPointF(const QPoint& p);

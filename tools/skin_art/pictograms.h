#pragma once

// Simple pictograms drawn with paths; each takes its colours so one shape serves every state and size.

#include "resources/toolbar_layout.h"

#include <QPainter>
#include <QPointF>
#include <QRgb>

namespace skin_art {

// A toolbar pictogram in the 24 x 24 box at `origin`: accent strokes over light fills.
void DrawToolbarPictogram(QPainter& p, ToolbarIcon icon, QPointF origin, QRgb stroke, QRgb fill);

// A lens with its handle to the lower right; `radius` is the lens's radius.
void DrawMagnifier(QPainter& p, QPointF lensCentre, qreal radius, qreal stroke, QRgb colour);

// A cog wheel with eight teeth and a hole.
void DrawGear(QPainter& p, QPointF centre, qreal outerRadius, QRgb colour, QRgb hole);

// A chevron (open arrow head) pointing in `degrees` (0 right, 90 down), `size` from tip to tail.
void DrawChevron(QPainter& p, QPointF centre, qreal size, int degrees, qreal stroke, QRgb colour);

// A tick mark scaled into the square `box`.
void DrawTick(QPainter& p, const QRectF& box, qreal stroke, QRgb colour);

// The product emblem: a rounded accent square with a white lens; `detail` adds rising bars in the lens.
void DrawEmblem(QPainter& p, const QRectF& box, bool detail);

} // namespace skin_art

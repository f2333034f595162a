#pragma once

// The painters of the atlas, one per area of the skin; each draws its pieces at their places in the table.

#include <QImage>

namespace skin_art {

void PaintWindowFrame(QImage& atlas);    // title bar, window icon, border corners, caption buttons
void PaintElementFrame(QImage& atlas);   // the frame of fields, menus and containers
void PaintScrollbars(QImage& atlas);     // arrows and thumbs of the built-in scrollbars, container arrows
void PaintButtons(QImage& atlas);        // push buttons, tabs, dialog buttons, toolbar back, tab-strip arrows
void PaintSmallControls(QImage& atlas);  // check box, drop-list arrow, slider, progress bar, splitters, busy
void PaintGrid(QImage& atlas);           // report grid header, filter buttons, bars, cell icons
void PaintPictures(QImage& atlas);       // message icons, logos, preferences picture
void PaintKindPictures(QImage& atlas);   // the eight new-project buttons
void PaintProjectButtons(QImage& atlas); // the backs of the project-kind button
void PaintGraphIcons(QImage& atlas);     // the history graph's toolbar

} // namespace skin_art

#pragma once

#include "platform/geometry.h"

class CSkinElement;

namespace skin {

// Where an element shows in its dialog, in dialog client coordinates: its rectangle and the part of it that
// the holders above it show. False when it or a holder above it is hidden, or it does not hang in its
// dialog's root holder.
bool ShownInDialog(const CSkinElement& element, plat::Rect* rect, plat::Rect* visible);

} // namespace skin

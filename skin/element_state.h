#pragma once

class CSkinElement;

namespace skin {

// The look states every drawn control shares: hot while under the pointer or focused, pressed while hot and
// held down.
bool IsHotElement(const CSkinElement& element);
bool IsPressedElement(const CSkinElement& element);

} // namespace skin

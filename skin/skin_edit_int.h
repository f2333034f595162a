#pragma once

class CSkinElement;

// Whole numbers in the captions of fields, read and written as "%d" does, without the locale.

// The number the caption starts with (leading blanks skipped, a sign taken, reading stops at the first other
// character); 0 when it starts with none. A number beyond the int range saturates.
int GetSkinEditInt(const CSkinElement& element);
void SetSkinEditInt(CSkinElement& element, int value);

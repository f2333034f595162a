#include "skin/skin_edit_int.h"

#include "core/number_text.h"
#include "skin/skin_element.h"

int GetSkinEditInt(const CSkinElement& element) {
    return number_text::ReadInt(element.GetText()).value_or(0);
}

void SetSkinEditInt(CSkinElement& element, int value) {
    element.SetText(number_text::FormatInt(value));
}

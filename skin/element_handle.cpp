#include "skin/element_handle.h"

#include "skin/skin_element.h"

namespace skin {

ElementHandle::ElementHandle(CSkinElement* element) : m_life(element ? element->m_life : nullptr) {}

} // namespace skin

#pragma once

#include <cstddef>
#include <memory>

class CSkinElement;

namespace skin {

// What an element shares with the handles to it; the element clears it as it dies.
struct ElementLife {
    CSkinElement* element;
};

// A non-owning pointer to an element that reads null once the element has died, so a pointer kept across a
// call that may delete the element never dangles. It has no "->": using the element means taking the pointer
// and testing it, at the place of use. Two handles are equal when they were taken from the same element, so a
// handle to a dead element equals neither an empty handle nor one to an element built later at its address;
// compared with a pointer, a handle stands for the element it points at now.
class ElementHandle {
  public:
    ElementHandle() = default;
    explicit ElementHandle(CSkinElement* element);
    ElementHandle& operator=(CSkinElement* element) { return *this = ElementHandle(element); }

    CSkinElement* Get() const { return m_life ? m_life->element : nullptr; }
    operator CSkinElement*() const { return Get(); }

    bool operator==(const ElementHandle& other) const { return m_life == other.m_life; }
    bool operator==(std::nullptr_t) const { return Get() == nullptr; }

  private:
    std::shared_ptr<const ElementLife> m_life;
};

} // namespace skin

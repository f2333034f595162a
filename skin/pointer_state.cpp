#include "skin/pointer_state.h"

#include "skin/skin_constants.h"

#include <cstdlib>

namespace skin {

int PointerState::ElementState() const {
    switch (m_mode) {
    case PointerMode::Pressed:
    case PointerMode::DragArmed:
    case PointerMode::Resizing:
    case PointerMode::Moving:
        return kMouseHeld;
    case PointerMode::Releasing:
        return kMouseReleased;
    case PointerMode::RightReleasing:
        return kMouseRightRelease;
    case PointerMode::Idle:
    case PointerMode::DropOver:
        break;
    }
    return kMouseMove;
}

void PointerState::ArmDrag(plat::Point p) {
    m_mode = PointerMode::DragArmed;
    m_pressPoint = p;
}

bool PointerState::DragStarts(plat::Point p) const {
    return m_mode == PointerMode::DragArmed &&
           std::abs(p.x - m_pressPoint.x) + std::abs(p.y - m_pressPoint.y) >= kDragStartDistance;
}

void PointerState::DropEnters() {
    if (m_mode == PointerMode::Idle)
        m_mode = PointerMode::DropOver;
}

void PointerState::DropLeaves() {
    if (m_mode == PointerMode::DropOver || m_mode == PointerMode::DragArmed)
        m_mode = PointerMode::Idle;
}

} // namespace skin

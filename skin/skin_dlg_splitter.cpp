#include "skin/skin_dlg_splitter.h"

#include "skin/host_window.h"
#include "skin/skin_atlas.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_base.h"
#include "skin/skin_dlg_holder.h"

using namespace Qt::StringLiterals;

namespace {

constexpr plat::Rect kHorizontalBar = skin::AtlasRect("splitter.horizontal");
constexpr plat::Rect kVerticalBar = skin::AtlasRect("splitter.vertical");

} // namespace

CSkinDlgSplitter::CSkinDlgSplitter() {
    m_className = u"CSkinDlgSplitter"_s;
    m_wantsAllMoves = true;
}

CSkinDlgSplitter::~CSkinDlgSplitter() = default;

void CSkinDlgSplitter::Create(CSkinDlgHolder* holder, unsigned id, int orientation, int minimum,
                              int farEndSpace, int position, const QString& command, int param) {
    CSkinElement::Create(holder, id, QString(), command, param, QString());
    // The splitter sends its command itself, with the position; a click sends nothing.
    m_noCommand = true;
    m_orientation = orientation == kHorizontal ? kHorizontal : kVertical;
    m_minimum = minimum;
    m_farEndSpace = farEndSpace;
    if (m_marginBefore == -1) {
        m_marginBefore = m_orientation == kHorizontal ? 17 : 154;
        m_marginAfter = m_orientation == kHorizontal ? 17 : 20;
    }
    Place(position);
}

int CSkinDlgSplitter::Clamp(int position) const {
    const bool inHolder = m_pHolder && m_pHolder != static_cast<const CSkinElement*>(this);
    if (!inHolder)
        return qMax(m_minimum, position);
    const int size = m_orientation == kHorizontal ? m_pHolder->m_height : m_pHolder->m_width;
    // A holder too small for both limits keeps the bar at its minimum.
    return qMax(m_minimum, qMin(position, size - m_farEndSpace));
}

void CSkinDlgSplitter::Place(int position) {
    m_position = Clamp(position);
    if (!m_pHolder || m_pHolder == static_cast<CSkinElement*>(this))
        return;
    // A resize rule keeps the bar's length in step with the holder; a rule's negative left or top would count
    // from the far edge, so the bar's near edge stops at the holder's edge.
    const int along = qMax(0, m_position - kThickness / 2);
    const int length = -(kThickness + m_marginBefore + m_marginAfter);
    if (m_orientation == kHorizontal)
        m_pHolder->SetResizeRule(this, m_marginBefore + 3, along, length, kThickness);
    else
        m_pHolder->SetResizeRule(this, along, m_marginBefore + 3, kThickness, length);
}

void CSkinDlgSplitter::Notify() {
    if (m_pDlg) {
        // Copies: the dialog may remove the splitter while it handles the command.
        const QString command = m_command;
        m_pDlg->OnCommand(command, m_position);
    }
}

void CSkinDlgSplitter::OnLayout() {
    const int clamped = Clamp(m_position);
    if (clamped == m_position)
        return;
    Place(clamped);
    Notify();
}

void CSkinDlgSplitter::Draw(plat::DeviceContext& dc, int x, int y, bool /*full*/) {
    if (m_pAtlasDC) {
        skin::StretchPiece(dc, plat::Rect::fromXywh(x, y, m_width, m_height), *m_pAtlasDC,
                           m_orientation == kHorizontal ? kHorizontalBar : kVerticalBar);
    }
}

bool CSkinDlgSplitter::OnMouse(int x, int y, int state) {
    if (CSkinElement::OnMouse(x, y, state))
        return true;
    if (m_pDlg) {
        skin::HostWindow(*m_pDlg).setCursorShape(m_orientation == kHorizontal ? plat::CursorShape::SizeNS
                                                                              : plat::CursorShape::SizeWE);
    }
    if (state == skin::kMouseMove) {
        m_lastCoord.reset();
        return false;
    }
    if (state != skin::kMouseHeld && state != skin::kMouseReleased)
        return false;
    // The bar moves under the pointer, so the pointer is followed in dialog coordinates.
    const plat::Point at = GetDialogPos();
    const int coord = m_orientation == kHorizontal ? at.y + y : at.x + x;
    const std::optional<int> last = std::exchange(m_lastCoord, coord);
    if (!last)
        return false;
    const int next = Clamp(m_position + (coord - *last));
    if (next != m_position) {
        Place(next);
        Notify();
    }
    return false;
}

void CSkinDlgSplitter::OnMouseLeave() {
    if (m_pDlg && !m_lastCoord)
        skin::HostWindow(*m_pDlg).setCursorShape(plat::CursorShape::Arrow);
    CSkinElement::OnMouseLeave();
}

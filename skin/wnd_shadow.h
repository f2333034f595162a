#pragma once

#include "platform/geometry.h"
#include "platform/window.h"
#include "skin/shadow_image.h"

#include <memory>

// The soft drop shadow of a skinned window: a translucent, click-through window beside its parent and
// directly below it, that follows the parent's moves, sizes and visibility. Shadows exist only where the
// window system composites translucent windows and lets the program place them (X11 with a compositor);
// elsewhere (no compositor, Wayland, the offscreen platform) there is none and nothing else changes.
class CWndShadow {
  public:
    CWndShadow();
    ~CWndShadow();
    CWndShadow(const CWndShadow&) = delete;
    CWndShadow& operator=(const CWndShadow&) = delete;

    // Once at start-up, before any window: false when already done or when no shadow window can be shown,
    // in which case shadows stay off for the whole run.
    static bool Initialize();
    static bool Available();

    // Attaches the shadow to parent, which then reports its moves, sizes, paints and end through the
    // OnParent operations. Does nothing when shadows are off.
    void Create(plat::Window* parent);
    // Shows the shadow for a visible parent that is neither maximised nor minimised, else hides it.
    void Update();

    void OnParentMove();
    void OnParentSize(plat::SizeType type, int width, int height);
    void OnParentPaint();
    void OnParentDestroy();

    // The look; each setter refuses a value out of its range with false and keeps the old one. A shown
    // shadow is rebuilt at once.
    bool SetDarkness(int darkness);   // 0 to 255
    bool SetSharpness(int sharpness); // 0 to 20
    bool SetSize(int size);           // -20 to 20
    bool SetPosition(int x, int y);   // each -20 to 20
    bool SetColor(plat::ColorRef color);
    const ShadowLook& Look() const { return m_look; }

    bool IsShown() const { return (m_status & kShown) != 0; }

  private:
    class Surface;

    static constexpr unsigned kEnabled = 1;
    static constexpr unsigned kShown = 2;
    static constexpr unsigned kParentVisible = 4;

    // Rebuilds a shown shadow in its new look.
    bool Restyled();
    // Recomputes the picture from the parent's shape and places the shadow window under it.
    void Rebuild();
    plat::Rect ShadowRect() const;

    plat::Window* m_parent = nullptr;
    std::unique_ptr<Surface> m_surface;
    unsigned m_status = 0;
    ShadowLook m_look;
    plat::Size m_lastSize;
    bool m_updatePending = false;
};

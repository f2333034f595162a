#pragma once

#include "platform/pixel_runs.h"

#include <vector>

namespace skin {

// Dialog backgrounds already shaded, by size and frame flags. Every repaint of a dialog starts with its
// background, and message boxes of one size come back again and again, so the shading is done once and
// copied after. The least recently used entry goes when the cache is full.
class ShadeCache {
  public:
    struct Key {
        int width = 0;
        int height = 0;
        bool framed = false;
        bool titleBar = false;
        bool operator==(const Key&) const = default;
    };

    // The shading for key, or null.
    const plat::PixelRuns* Find(const Key& key);
    void Insert(const Key& key, plat::PixelRuns shading);

    // The main window and a dialog or two over it.
    static constexpr size_t kMaxEntries = 3;

  private:
    struct Entry {
        Key key;
        plat::PixelRuns shading;
    };
    std::vector<Entry> m_entries; // most recently used first
};

// The cache every dialog of the process shares (user-interface thread only).
ShadeCache& SharedShadeCache();

} // namespace skin

#include "skin/shade_cache.h"

#include <algorithm>

namespace skin {

const plat::PixelRuns* ShadeCache::Find(const Key& key) {
    const auto it =
        std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.key == key; });
    if (it == m_entries.end())
        return nullptr;
    std::rotate(m_entries.begin(), it, it + 1);
    return &m_entries.front().shading;
}

void ShadeCache::Insert(const Key& key, plat::PixelRuns shading) {
    std::erase_if(m_entries, [&](const Entry& e) { return e.key == key; });
    if (m_entries.size() >= kMaxEntries)
        m_entries.pop_back();
    m_entries.insert(m_entries.begin(), Entry{key, std::move(shading)});
}

ShadeCache& SharedShadeCache() {
    static ShadeCache cache;
    return cache;
}

} // namespace skin

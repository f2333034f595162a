#include "skin/glow_text_cache.h"

namespace skin {

const plat::DeviceContext* GlowTextCache::Find(const QString& key) const {
    const auto it = m_layers.find(key);
    return it == m_layers.end() ? nullptr : it->second.get();
}

const plat::DeviceContext& GlowTextCache::Insert(const QString& key,
                                                 std::unique_ptr<plat::DeviceContext> layer) {
    if (m_layers.size() >= kMaxEntries)
        m_layers.clear();
    auto& slot = m_layers[key];
    slot = std::move(layer);
    return *slot;
}

} // namespace skin

#pragma once

#include "platform/device_context.h"

#include <QString>
#include <map>
#include <memory>

namespace skin {

// Glow layers already blurred, keyed by everything they depend on. Titles repeat on every paint, so a small
// cache spares the blur; it is emptied when it fills up.
class GlowTextCache {
  public:
    const plat::DeviceContext* Find(const QString& key) const;
    const plat::DeviceContext& Insert(const QString& key, std::unique_ptr<plat::DeviceContext> layer);
    size_t Size() const { return m_layers.size(); }

    static constexpr size_t kMaxEntries = 64;

  private:
    std::map<QString, std::unique_ptr<plat::DeviceContext>> m_layers;
};

} // namespace skin

#pragma once

#include "core/platform_services.h"

namespace plat {

// The desktop behind the core's platform services: the system clipboard, xdg-open and plain message boxes.
class QtPlatformServices final : public PlatformServices {
  public:
    void CopyText(const QString& text) override;
    void OpenUrl(const QString& url) override;
    void ShowNotice(const QString& text) override;
};

// Installs the one process-wide QtPlatformServices; call after the Application exists.
void InstallQtPlatformServices();

} // namespace plat

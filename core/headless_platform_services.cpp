#include "core/headless_platform_services.h"

void HeadlessPlatformServices::CopyText(const QString& text) {
    const std::lock_guard guard(m_lock);
    m_copiedTexts.append(text);
}

void HeadlessPlatformServices::OpenUrl(const QString& url) {
    const std::lock_guard guard(m_lock);
    m_openedUrls.append(url);
}

QStringList HeadlessPlatformServices::CopiedTexts() const {
    const std::lock_guard guard(m_lock);
    return m_copiedTexts;
}

QStringList HeadlessPlatformServices::OpenedUrls() const {
    const std::lock_guard guard(m_lock);
    return m_openedUrls;
}

void HeadlessPlatformServices::Clear() {
    const std::lock_guard guard(m_lock);
    m_copiedTexts.clear();
    m_openedUrls.clear();
}

HeadlessPlatformServices& DefaultPlatformServices() {
    static HeadlessPlatformServices services;
    return services;
}

#include "core/headless_platform_services.h"

void HeadlessPlatformServices::CopyText(const QString& text) {
    const std::lock_guard guard(m_lock);
    m_copiedTexts.append(text);
}

void HeadlessPlatformServices::OpenUrl(const QString& url) {
    const std::lock_guard guard(m_lock);
    m_openedUrls.append(url);
}

void HeadlessPlatformServices::ShowNotice(const QString& text) {
    const std::lock_guard guard(m_lock);
    m_notices.append(text);
}

QStringList HeadlessPlatformServices::CopiedTexts() const {
    const std::lock_guard guard(m_lock);
    return m_copiedTexts;
}

QStringList HeadlessPlatformServices::OpenedUrls() const {
    const std::lock_guard guard(m_lock);
    return m_openedUrls;
}

QStringList HeadlessPlatformServices::Notices() const {
    const std::lock_guard guard(m_lock);
    return m_notices;
}

void HeadlessPlatformServices::Clear() {
    const std::lock_guard guard(m_lock);
    m_copiedTexts.clear();
    m_openedUrls.clear();
    m_notices.clear();
}

HeadlessPlatformServices& DefaultPlatformServices() {
    static HeadlessPlatformServices services;
    return services;
}

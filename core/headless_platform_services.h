#pragma once

#include "core/platform_services.h"

#include <QStringList>
#include <mutex>

// Platform services without a desktop: every call is recorded, in order, so tests can check what the
// system asked for. Safe to call from several threads.
class HeadlessPlatformServices : public PlatformServices {
  public:
    void CopyText(const QString& text) override;
    void OpenUrl(const QString& url) override;
    void ShowNotice(const QString& text) override;

    QStringList CopiedTexts() const;
    QStringList OpenedUrls() const;
    QStringList Notices() const;
    void Clear();

  private:
    mutable std::mutex m_lock;
    QStringList m_copiedTexts;
    QStringList m_openedUrls;
    QStringList m_notices;
};

// The instance in use while nothing else is installed.
HeadlessPlatformServices& DefaultPlatformServices();

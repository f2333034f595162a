#pragma once

#include <QWebEngineUrlRequestInterceptor>

namespace plat {

// While offline, blocks every request that would leave the machine: only what the page carries in itself
// (data, blob and about addresses), local files and Qt resources still load.
class OfflineInterceptor final : public QWebEngineUrlRequestInterceptor {
  public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void setOffline(bool offline) { m_offline = offline; }
    bool offline() const { return m_offline; }
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

  private:
    bool m_offline = false;
};

} // namespace plat

#include "platform/web/offline_interceptor.h"

using namespace Qt::StringLiterals;

namespace plat {

void OfflineInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (!m_offline)
        return;
    const QString scheme = info.requestUrl().scheme().toLower();
    const bool local = scheme == "data"_L1 || scheme == "blob"_L1 || scheme == "about"_L1 ||
                       scheme == "file"_L1 || scheme == "qrc"_L1;
    if (!local)
        info.block(true);
}

} // namespace plat

#include "platform/web/browser_process.h"

#include <QByteArray>
#include <unistd.h>

namespace plat {

void PrepareBrowserProcess() {
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", QByteArrayLiteral("1"));
}

} // namespace plat

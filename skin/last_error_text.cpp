#include "skin/last_error_text.h"

#include <cerrno>
#include <cstring>

void GetLastErrorText(QString& out) {
    const int code = errno;
    // glibc has no text for numbers it does not know; strerror_r would still invent "Unknown error N".
    if (strerrordesc_np(code) == nullptr) {
        out = QString::asprintf("Unknown error code %08x (%d)", static_cast<unsigned>(code), code);
        return;
    }
    char buffer[256];
    // The GNU form returns the text, which may or may not live in buffer.
    out = QString::fromLocal8Bit(strerror_r(code, buffer, sizeof buffer));
    const qsizetype cr = out.indexOf(u'\r');
    if (cr >= 0)
        out.truncate(cr);
}

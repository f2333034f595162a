#pragma once

#include <QString>
#include <QtGlobal>

namespace skin {

// The value texts of sliders and progress bars: the first "%d" of format becomes the number, "%%" becomes
// "%", anything else stays as written. Owners set these formats, so a stray "%s" must never reach a printf.
QString FormatValue(const QString& format, qint64 value);

} // namespace skin

#pragma once

#include <QString>

// Where an export goes and in which form, from the name chosen in the export dialog and the filter chosen
// with it (0 HTML, 1 CSV).
struct ExportTarget {
    QString path;
    bool html = true;
    // The chosen name had no extension and got the filter's.
    bool extensionAdded = false;

    static ExportTarget For(const QString& chosen, int filterIndex);
};

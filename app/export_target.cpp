#include "app/export_target.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

ExportTarget ExportTarget::For(const QString& chosen, int filterIndex) {
    ExportTarget target{chosen, true, false};
    QString extension = QFileInfo(chosen).suffix().toLower();
    if (extension.isEmpty()) {
        extension = filterIndex == 1 ? u"csv"_s : u"htm"_s;
        target.path += u'.' + extension;
        target.extensionAdded = true;
    }
    target.html = extension == u"htm"_s || extension == u"html"_s;
    return target;
}

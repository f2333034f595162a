#include "resources/skin_resources.h"

#include <algorithm>

namespace skin_resources {

namespace {

QString underSkin(const QString& file) {
    return QLatin1StringView(":/skin/") + file;
}

QString fromView(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QString atlasPath() {
    return underSkin(fromView(kAtlasFile));
}

QString toolbarPath() {
    return underSkin(fromView(kToolbarFile));
}

QString iconPath(int size) {
    if (std::find(kIconSizes.begin(), kIconSizes.end(), size) == kIconSizes.end()) {
        return {};
    }
    return underSkin(iconFileName(size));
}

} // namespace skin_resources

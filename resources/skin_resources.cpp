#include "resources/skin_resources.h"

#include <algorithm>

namespace skin_resources {

namespace {

QString UnderSkin(const QString& file) {
    return QLatin1StringView(":/skin/") + file;
}

QString FromView(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QString AtlasPath() {
    return UnderSkin(FromView(kAtlasFile));
}

QString ToolbarPath() {
    return UnderSkin(FromView(kToolbarFile));
}

QString IconPath(int size) {
    if (std::find(kIconSizes.begin(), kIconSizes.end(), size) == kIconSizes.end())
        return {};
    return UnderSkin(IconFileName(size));
}

} // namespace skin_resources

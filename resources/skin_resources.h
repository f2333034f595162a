#pragma once

// The skin art as the program carries it: Qt resources under ":/skin", built in by linking tw_resources.

#include <QLatin1StringView>
#include <QString>
#include <array>
#include <string_view>

namespace skin_resources {

inline constexpr std::array kIconSizes{16, 24, 32, 48, 64, 128, 256};

// File names in resources/ (and below ":/skin").
inline constexpr std::string_view kAtlasFile = "atlas.png";
inline constexpr std::string_view kToolbarFile = "toolbar.png";
inline QString IconFileName(int size) {
    return QLatin1StringView("icon_") + QString::number(size) + QLatin1StringView(".png");
}

QString AtlasPath();   // ":/skin/atlas.png"
QString ToolbarPath(); // ":/skin/toolbar.png"
// ":/skin/icon_<size>.png" for a size in kIconSizes; empty for any other size.
QString IconPath(int size);

} // namespace skin_resources

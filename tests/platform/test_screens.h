#pragma once

namespace twtest {

// The offscreen screens the platform tests run on: a primary 1280 x 800 at the origin and a second
// 1024 x 768 screen to its right.
inline constexpr char kScreensJson[] = R"({
  "screens": [
    { "name": "primary", "x": 0, "y": 0, "width": 1280, "height": 800, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 },
    { "name": "second", "x": 1280, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 }
  ]
})";

} // namespace twtest

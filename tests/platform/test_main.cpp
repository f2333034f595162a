#include "tests/platform/offscreen_test_main.h"

// Two screens side by side, so placement and maximising can be checked against known geometry: a primary
// 1280 x 800 at the origin and a second 1024 x 768 screen to its right.
constexpr char kScreensJson[] = R"({
  "screens": [
    { "name": "primary", "x": 0, "y": 0, "width": 1280, "height": 800, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 },
    { "name": "second", "x": 1280, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 }
  ]
})";

int main(int argc, char** argv) {
    return twtest::RunOnOffscreenScreens(argc, argv, kScreensJson);
}

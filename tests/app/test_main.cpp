#include "tests/platform/offscreen_test_main.h"
#include "tests/skin/shipped_atlas_run.h"

// The offscreen desktop of every test: the primary 1280 x 800 screen and a 1920 x 1200 screen to its right.
constexpr char kScreensJson[] = R"({
  "screens": [
    { "name": "primary", "x": 0, "y": 0, "width": 1280, "height": 800, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 },
    { "name": "second", "x": 1280, "y": 0, "width": 1920, "height": 1200, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 }
  ]
})";

int main(int argc, char** argv) {
    return twtest::RunOnOffscreenScreens(argc, argv, kScreensJson, skintest::RunWithShippedAtlas);
}

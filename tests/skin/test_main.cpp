#include "tests/platform/offscreen_test_main.h"
#include "tests/skin/shipped_atlas_run.h"

// One offscreen screen of known size, so centring and maximising have fixed answers.
constexpr char kScreenJson[] = R"({
  "screens": [
    { "name": "main", "x": 0, "y": 0, "width": 1280, "height": 800, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 }
  ]
})";

int main(int argc, char** argv) {
    return twtest::RunOnOffscreenScreens(argc, argv, kScreenJson, skintest::RunWithShippedAtlas);
}

#pragma once

// The toolbar sprite sheet: one 36 x 36 cell per button and state, the key colour around every pictogram.
// Plain C++ (no Qt) so the skin code and the tests share it with the generator.

namespace skin_art {

inline constexpr int kToolbarCell = 36;
inline constexpr int kToolbarColumns = 8;
inline constexpr int kToolbarRows = 3; // normal, hot, pressed; the disabled look reuses the normal row
inline constexpr int kToolbarWidth = kToolbarCell * kToolbarColumns;
inline constexpr int kToolbarHeight = kToolbarCell * kToolbarRows;

enum class ToolbarIcon { New, Open, Save, Pause, Resume, Export, Options, Help };
enum class ToolbarRow { Normal, Hot, Pressed };

} // namespace skin_art

#pragma once

// Every picture of the skin atlas: where it lies, what it shows, and how the drawing code cuts and stretches
// it. The generator paints from this table, the skin and the main window draw pieces by their names, and the
// tests check the shipped atlas against it, so a picture's place is written down only here. Plain C++ (no
// Qt).

#include <array>
#include <cstdint>
#include <string_view>

namespace skin_art {

inline constexpr int kAtlasWidth = 635;
inline constexpr int kAtlasHeight = 481;
// Magenta: transparent wherever a picture is drawn keyed, and everywhere no picture lies.
// The wizard's separator between its two rows of kind buttons is not a picture here: it would lie one row
// below the atlas, so the wizard draws that line itself.
inline constexpr std::uint32_t kKeyColour = 0xFF00FFu; // 0xRRGGBB

// State of a piece that is one of a control's state images; the pieces of one control (same name up to the
// last dot) are listed in this order.
enum class State : std::uint8_t { Only, Normal, Hot, Disabled, Pressed, Off, On };

// How the drawing code uses a piece. The stretched part of a piece is uniform along its stretch direction.
enum class Fit : std::uint8_t {
    Copy,        // copied at its own size
    StretchX,    // stretched horizontally: every row is one colour
    StretchY,    // stretched vertically: every column is one colour
    StretchXY,   // stretched both ways: one colour
    ThreeSliceX, // capX columns kept at each end, the middle stretched horizontally
    NineSlice,   // capX columns and capY rows kept at the edges, the middle stretched both ways
};

struct AtlasPiece {
    std::string_view name;
    // Pieces cut from the same picture share this name and may overlap; different pictures never do.
    std::string_view image;
    int x, y, width, height;
    State state;
    Fit fit;
    int capX, capY;
    bool keyed; // drawn with kKeyColour transparent
    std::string_view shows;
};

// clang-format off
inline constexpr std::array kAtlasPieces = std::to_array<AtlasPiece>({
    // Window frame of a framed dialog.
    {"title.bar", "title.bar", 0, 0, 27, 28, State::Only, Fit::StretchX, 0, 0, false,
     "title bar, stretched over the window's width"},
    {"title.icon", "title.icon", 0, 29, 18, 14, State::Only, Fit::Copy, 0, 0, false,
     "window icon drawn at (8, 7) on the title bar"},
    {"frame.cornerBottomRight", "frame.cornerBottomRight", 28, 0, 6, 6, State::Only, Fit::Copy, 0, 0, false,
     "bottom-right corner of the 3-px window border"},
    {"frame.cornerBottomLeft", "frame.cornerBottomLeft", 28, 7, 6, 6, State::Only, Fit::Copy, 0, 0, false,
     "bottom-left corner of the 3-px window border"},
    {"caption.minimize.normal", "caption.minimize.normal", 43, 0, 21, 21, State::Normal, Fit::Copy, 0, 0, false,
     "minimise caption button; also its pressed image"},
    {"caption.minimize.hot", "caption.minimize.hot", 43, 22, 21, 21, State::Hot, Fit::Copy, 0, 0, false,
     "minimise caption button under the pointer; also its disabled image"},
    {"caption.maximize.normal", "caption.maximize.normal", 65, 0, 21, 21, State::Normal, Fit::Copy, 0, 0, false,
     "maximise caption button"},
    {"caption.maximize.hot", "caption.maximize.hot", 65, 22, 21, 21, State::Hot, Fit::Copy, 0, 0, false,
     "maximise caption button under the pointer"},
    {"caption.restore.normal", "caption.restore.normal", 87, 0, 21, 21, State::Normal, Fit::Copy, 0, 0, false,
     "restore caption button"},
    {"caption.restore.hot", "caption.restore.hot", 87, 22, 21, 21, State::Hot, Fit::Copy, 0, 0, false,
     "restore caption button under the pointer"},
    {"caption.close.normal", "caption.close.normal", 109, 0, 21, 21, State::Normal, Fit::Copy, 0, 0, false,
     "close caption button"},
    {"caption.close.hot", "caption.close.hot", 109, 22, 21, 21, State::Hot, Fit::Copy, 0, 0, false,
     "close caption button under the pointer"},

    // Element frame: a 33-px one-line field in three pieces, any other height in nine.
    {"frame.line.left", "frame", 1, 76, 24, 33, State::Only, Fit::Copy, 0, 0, false, "one-line field, left cap"},
    {"frame.line.middle", "frame", 25, 76, 24, 33, State::Only, Fit::StretchX, 0, 0, false,
     "one-line field, middle"},
    {"frame.line.right", "frame", 51, 76, 24, 33, State::Only, Fit::Copy, 0, 0, false, "one-line field, right cap"},
    {"frame.topLeft", "frame", 1, 76, 24, 11, State::Only, Fit::Copy, 0, 0, false, "frame, top-left corner"},
    {"frame.top", "frame", 25, 76, 24, 11, State::Only, Fit::StretchX, 0, 0, false, "frame, top edge"},
    {"frame.topRight", "frame", 51, 76, 24, 11, State::Only, Fit::Copy, 0, 0, false, "frame, top-right corner"},
    {"frame.left", "frame", 1, 87, 24, 11, State::Only, Fit::StretchY, 0, 0, false, "frame, left edge"},
    {"frame.right", "frame", 51, 87, 24, 11, State::Only, Fit::StretchY, 0, 0, false, "frame, right edge"},
    {"frame.bottomLeft", "frame", 1, 98, 24, 11, State::Only, Fit::Copy, 0, 0, false, "frame, bottom-left corner"},
    {"frame.bottom", "frame", 25, 98, 24, 11, State::Only, Fit::StretchX, 0, 0, false, "frame, bottom edge"},
    {"frame.bottomRight", "frame", 51, 98, 24, 11, State::Only, Fit::Copy, 0, 0, false,
     "frame, bottom-right corner"},

    // Built-in scrollbars of every element; the track between the arrows is filled in code.
    {"vscroll.up", "vscroll.up", 103, 110, 14, 14, State::Only, Fit::Copy, 0, 0, false, "vertical bar, up arrow"},
    {"vscroll.down", "vscroll.down", 88, 110, 14, 14, State::Only, Fit::Copy, 0, 0, false,
     "vertical bar, down arrow"},
    {"vscroll.thumbStart", "vscroll.thumb", 118, 110, 14, 14, State::Only, Fit::Copy, 0, 0, false,
     "vertical thumb, top cap (its first rows)"},
    {"vscroll.grip", "vscroll.thumb", 133, 110, 14, 14, State::Only, Fit::Copy, 0, 0, false,
     "vertical thumb, grip at its centre"},
    {"vscroll.thumbMiddle", "vscroll.thumb", 148, 110, 14, 14, State::Only, Fit::StretchY, 0, 0, false,
     "vertical thumb, body"},
    {"vscroll.thumbEnd", "vscroll.thumb", 163, 110, 14, 14, State::Only, Fit::Copy, 0, 0, false,
     "vertical thumb, bottom cap (its last rows)"},
    {"hscroll.left", "hscroll.left", 1, 110, 14, 14, State::Only, Fit::Copy, 0, 0, false,
     "horizontal bar, left arrow"},
    {"hscroll.right", "hscroll.right", 73, 110, 14, 14, State::Only, Fit::Copy, 0, 0, false,
     "horizontal bar, right arrow"},
    {"hscroll.thumbStart", "hscroll.thumb", 15, 110, 14, 14, State::Only, Fit::Copy, 0, 0, false,
     "horizontal thumb, left cap (its first columns)"},
    {"hscroll.thumbMiddle", "hscroll.thumb", 22, 110, 14, 14, State::Only, Fit::StretchX, 0, 0, false,
     "horizontal thumb, body"},
    {"hscroll.grip", "hscroll.thumb", 33, 110, 14, 14, State::Only, Fit::Copy, 0, 0, false,
     "horizontal thumb, grip at its centre"},
    {"hscroll.thumbEnd", "hscroll.thumb", 44, 110, 14, 14, State::Only, Fit::Copy, 0, 0, false,
     "horizontal thumb, right cap (its last columns, ending at x 58)"},

    // Auto-scroll arrows of a container, drawn on the push-button image.
    {"holder.arrowUp", "holder.arrowUp", 251, 43, 22, 18, State::Only, Fit::Copy, 0, 0, true,
     "container auto-scroll arrow, up"},
    {"holder.arrowDown", "holder.arrowDown", 251, 24, 22, 18, State::Only, Fit::Copy, 0, 0, true,
     "container auto-scroll arrow, down"},

    // Push buttons. The standard image is also the tooltip background (a 16/16/16 x 9/11/9 grid), the back of
    // icon buttons (corners a third of its size) and the container's auto-scroll bar (5-px caps).
    {"button.normal", "button.normal", 320, 127, 48, 29, State::Normal, Fit::NineSlice, 5, 9, false,
     "push button; also its disabled image, the tooltip and the auto-scroll bar"},
    {"button.hot", "button.hot", 418, 127, 48, 29, State::Hot, Fit::NineSlice, 5, 9, false,
     "push button under the pointer"},
    {"button.pressed", "button.pressed", 369, 127, 48, 29, State::Pressed, Fit::NineSlice, 5, 9, false,
     "push button held down; also the held auto-scroll bar"},
    {"tab.normal", "tab.normal", 24, 47, 24, 27, State::Normal, Fit::ThreeSliceX, 5, 0, false,
     "project tab, not current"},
    {"tab.hot", "tab.hot", 48, 47, 24, 27, State::Hot, Fit::ThreeSliceX, 5, 0, false,
     "project tab under the pointer"},
    {"tab.disabled", "tab.disabled", 72, 47, 24, 27, State::Disabled, Fit::ThreeSliceX, 5, 0, false,
     "project tab, disabled"},
    {"tab.pressed", "tab.pressed", 0, 47, 24, 27, State::Pressed, Fit::ThreeSliceX, 5, 0, false,
     "project tab pressed; also the current project's tab"},
    {"choice.normal", "choice.normal", 472, 94, 27, 27, State::Normal, Fit::ThreeSliceX, 5, 0, false,
     "button of a choice group, not chosen"},
    {"choice.hot", "choice.hot", 472, 66, 27, 27, State::Hot, Fit::ThreeSliceX, 5, 0, false,
     "button of a choice group under the pointer; also disabled"},
    {"choice.pressed", "choice.pressed", 472, 38, 27, 27, State::Pressed, Fit::ThreeSliceX, 5, 0, false,
     "button of a choice group held down; also the chosen button"},
    {"flat.normal", "flat.normal", 444, 37, 27, 32, State::Normal, Fit::ThreeSliceX, 5, 0, false,
     "flat button; also disabled"},
    {"flat.hot", "flat.hot", 416, 37, 27, 32, State::Hot, Fit::ThreeSliceX, 5, 0, false,
     "flat button under the pointer or held; the only image of the always-lit flat style"},
    {"wizard.button.normal", "wizard.button.normal", 290, 73, 62, 26, State::Normal, Fit::ThreeSliceX, 20, 0, false,
     "secondary dialog button (CANCEL, BACK); also disabled"},
    {"wizard.button.hot", "wizard.button.hot", 353, 73, 62, 26, State::Hot, Fit::ThreeSliceX, 20, 0, false,
     "secondary dialog button under the pointer"},
    {"wizard.button.pressed", "wizard.button.pressed", 290, 100, 62, 26, State::Pressed, Fit::ThreeSliceX, 20, 0,
     false, "secondary dialog button held down"},
    {"wizard.start.normal", "wizard.start.normal", 290, 1, 94, 35, State::Normal, Fit::ThreeSliceX, 31, 0, false,
     "main dialog button (START, SAVE) with its arrow in the right 44 px; also disabled"},
    {"wizard.start.hot", "wizard.start.hot", 385, 1, 94, 35, State::Hot, Fit::ThreeSliceX, 31, 0, false,
     "main dialog button under the pointer"},
    {"wizard.start.pressed", "wizard.start.pressed", 290, 37, 94, 35, State::Pressed, Fit::ThreeSliceX, 31, 0, false,
     "main dialog button held down"},
    {"prefs.tab.normal", "prefs.tab.normal", 213, 1, 37, 31, State::Normal, Fit::ThreeSliceX, 12, 0, false,
     "preferences page tab; also disabled"},
    {"prefs.tab.hot", "prefs.tab.hot", 213, 33, 37, 31, State::Hot, Fit::ThreeSliceX, 12, 0, false,
     "preferences page tab under the pointer, held, or current"},
    {"prefs.narrowTab.normal", "prefs.tab.normal", 213, 1, 30, 31, State::Normal, Fit::ThreeSliceX, 10, 0, false,
     "preferences page tab once a page is shown (30-px view)"},
    {"prefs.narrowTab.hot", "prefs.tab.hot", 213, 33, 30, 31, State::Hot, Fit::ThreeSliceX, 10, 0, false,
     "current preferences page tab (30-px view)"},
    {"toolbar.back", "toolbar.back", 131, 0, 80, 66, State::Only, Fit::NineSlice, 26, 22, false,
     "back of a toolbar button, every state"},
    {"toolbar.wideBack", "toolbar.back", 131, 0, 81, 66, State::Only, Fit::NineSlice, 27, 22, false,
     "back of the 81-px Options toolbar button, every state"},
    {"tabs.forward", "tabs.forward", 251, 1, 18, 22, State::Only, Fit::Copy, 0, 0, true,
     "icon of the button that scrolls the tab strip forward"},
    {"tabs.back", "tabs.back", 270, 1, 18, 22, State::Only, Fit::Copy, 0, 0, true,
     "icon of the button that scrolls the tab strip back"},
    {"tab.busy", "tab.busy", 467, 122, 16, 128, State::Only, Fit::Copy, 0, 0, false,
     "busy animation of a project tab: 8 frames of 16 x 16 stacked, dark on white (alpha = 255 - blue)"},

    // Small controls.
    {"check.off", "check.off", 109, 66, 21, 21, State::Off, Fit::Copy, 0, 0, true,
     "check box and radio, not ticked; report cell kind 9 for an empty text"},
    {"check.on", "check.on", 109, 44, 21, 21, State::On, Fit::Copy, 0, 0, true,
     "check box and radio, ticked (also the pressed look of an unticked box); report cell kind 9"},
    {"dropList.arrow.normal", "dropList.arrow.normal", 76, 90, 20, 19, State::Normal, Fit::Copy, 0, 0, false,
     "drop-list arrow"},
    {"dropList.arrow.hot", "dropList.arrow.hot", 97, 90, 20, 19, State::Hot, Fit::Copy, 0, 0, false,
     "drop-list arrow under the pointer"},
    {"slider.track", "slider.track", 131, 93, 46, 10, State::Only, Fit::ThreeSliceX, 15, 0, false,
     "slider track, every state"},
    {"slider.thumb.normal", "slider.thumb.normal", 131, 67, 25, 25, State::Normal, Fit::Copy, 0, 0, true,
     "slider thumb; its top-left pixel gives the slider's key colour"},
    {"slider.thumb.hot", "slider.thumb.hot", 157, 67, 25, 25, State::Hot, Fit::Copy, 0, 0, true,
     "slider thumb under the pointer"},
    {"slider.thumb.pressed", "slider.thumb.pressed", 183, 67, 25, 25, State::Pressed, Fit::Copy, 0, 0, true,
     "slider thumb held"},
    {"progress.left", "progress", 364, 236, 10, 14, State::Only, Fit::Copy, 0, 0, false, "progress bar, left end"},
    {"progress.middle", "progress", 374, 236, 10, 14, State::Only, Fit::StretchX, 0, 0, false,
     "progress bar, empty track"},
    {"progress.right", "progress", 412, 236, 10, 14, State::Only, Fit::Copy, 0, 0, false, "progress bar, right end"},
    {"progress.fill", "progress", 392, 237, 10, 11, State::Only, Fit::StretchX, 0, 0, false,
     "progress bar, done part (white text is drawn on it)"},
    {"splitter.horizontal", "splitter.horizontal", 290, 127, 20, 6, State::Only, Fit::StretchX, 0, 0, false,
     "splitter bar moving up and down"},
    {"splitter.vertical", "splitter.vertical", 311, 127, 6, 20, State::Only, Fit::StretchY, 0, 0, false,
     "splitter bar moving left and right"},

    // Report grid.
    {"grid.header.left", "grid.header", 251, 78, 12, 27, State::Only, Fit::Copy, 0, 0, false, "header, left cap"},
    {"grid.header.middle", "grid.header", 263, 78, 12, 27, State::Only, Fit::StretchX, 0, 0, false,
     "header, middle"},
    {"grid.header.right", "grid.header", 276, 78, 12, 27, State::Only, Fit::Copy, 0, 0, false, "header, right cap"},
    {"grid.header.leftRow", "grid.header", 251, 104, 12, 1, State::Only, Fit::StretchY, 0, 0, false,
     "header left cap's last row, stretched down to the header height"},
    {"grid.header.middleRow", "grid.header", 263, 104, 12, 1, State::Only, Fit::StretchXY, 0, 0, false,
     "header middle's last row, stretched down and across"},
    {"grid.header.rightRow", "grid.header", 276, 104, 12, 1, State::Only, Fit::StretchY, 0, 0, false,
     "header right cap's last row, stretched down"},
    {"grid.filterOff.normal", "grid.filterOff.normal", 270, 106, 18, 18, State::Normal, Fit::Copy, 0, 0, true,
     "column filter button, filter off; its top-left pixel is the grid's key colour"},
    {"grid.filterOff.hot", "grid.filterOff.hot", 251, 106, 18, 18, State::Hot, Fit::Copy, 0, 0, true,
     "column filter button under the pointer, filter off"},
    {"grid.filterOn.normal", "grid.filterOn.normal", 270, 125, 18, 18, State::Normal, Fit::Copy, 0, 0, true,
     "column filter button, filter on"},
    {"grid.filterOn.hot", "grid.filterOn.hot", 251, 125, 18, 18, State::Hot, Fit::Copy, 0, 0, true,
     "column filter button under the pointer, filter on"},
    {"grid.barA.start", "grid.barA", 251, 144, 5, 13, State::Only, Fit::Copy, 0, 0, false,
     "percentage bar (cell kinds 3, 5), left cap"},
    {"grid.barA.track", "grid.barA", 256, 144, 6, 13, State::Only, Fit::StretchX, 0, 0, false,
     "percentage bar (cell kinds 3, 5), empty track"},
    {"grid.barA.end", "grid.barA", 262, 144, 5, 13, State::Only, Fit::Copy, 0, 0, false,
     "percentage bar (cell kinds 3, 5), right cap"},
    {"grid.barA.fill", "grid.barA", 268, 144, 5, 13, State::Only, Fit::StretchX, 0, 0, false,
     "percentage bar (cell kinds 3, 5), filled part"},
    {"grid.barB.start", "grid.barB", 281, 144, 5, 13, State::Only, Fit::Copy, 0, 0, false,
     "percentage bar (cell kind 4), left cap"},
    {"grid.barB.track", "grid.barB", 286, 144, 6, 13, State::Only, Fit::StretchX, 0, 0, false,
     "percentage bar (cell kind 4), empty track"},
    {"grid.barB.end", "grid.barB", 292, 144, 5, 13, State::Only, Fit::Copy, 0, 0, false,
     "percentage bar (cell kind 4), right cap"},
    {"grid.barB.fill", "grid.barB", 298, 144, 5, 13, State::Only, Fit::StretchX, 0, 0, false,
     "percentage bar (cell kind 4), filled part in the second bar colour"},
    {"grid.cellIcon", "grid.cellIcon", 433, 103, 16, 16, State::Only, Fit::Copy, 0, 0, true,
     "report cell kind 11: a done mark"},
    {"grid.button.left", "grid.button", 364, 251, 2, 24, State::Only, Fit::Copy, 0, 0, false,
     "report cell kind 12: button face, left end"},
    {"grid.button.middle", "grid.button", 366, 251, 169, 24, State::Only, Fit::StretchX, 0, 0, false,
     "report cell kind 12: button face, middle"},
    {"grid.button.right", "grid.button", 535, 251, 2, 24, State::Only, Fit::Copy, 0, 0, false,
     "report cell kind 12: button face, right end"},
    {"grid.buttonIcon", "grid.buttonIcon", 415, 103, 16, 16, State::Only, Fit::Copy, 0, 0, true,
     "report cell kind 12: icon centred on the button face (a magnifier)"},
    {"grid.engine1", "grid.engine1", 364, 276, 16, 15, State::Only, Fit::Copy, 0, 0, true,
     "report cell kind 14: first search-engine marker"},
    {"grid.engine2", "grid.engine2", 380, 276, 16, 15, State::Only, Fit::Copy, 0, 0, true,
     "report cell kind 15: second search-engine marker"},
    {"grid.engine3", "grid.engine3", 396, 276, 16, 15, State::Only, Fit::Copy, 0, 0, true,
     "report cell kind 16: third search-engine marker"},

    // Project-kind button: a card of 51 x 52 cut into thirds, its chosen look standing out from the rest.
    {"prjButton.normal", "prjButton.normal", 483, 184, 51, 52, State::Normal, Fit::NineSlice, 17, 17, false,
     "project-kind button; also its disabled image"},
    {"prjButton.hot", "prjButton.hot", 534, 184, 51, 52, State::Hot, Fit::NineSlice, 17, 17, false,
     "project-kind button under the pointer"},
    {"prjButton.pressed", "prjButton.pressed", 496, 121, 51, 52, State::Pressed, Fit::NineSlice, 17, 17, false,
     "project-kind button held down, or selected"},
    {"prjButton.chosen", "prjButton.chosen", 584, 237, 51, 52, State::On, Fit::NineSlice, 17, 17, false,
     "project-kind button of the chosen kind (its second back style)"},

    // History graph toolbar, on the graph's white band: the mode switch and the five range lengths, short to
    // long.
    {"graph.mode", "graph.mode", 600, 0, 32, 32, State::Only, Fit::Copy, 0, 0, false,
     "switches the graph between days and values"},
    {"graph.range1", "graph.range1", 600, 32, 32, 32, State::Only, Fit::Copy, 0, 0, false,
     "shortest range: 7 days or 10 values"},
    {"graph.range2", "graph.range2", 600, 64, 32, 32, State::Only, Fit::Copy, 0, 0, false,
     "range of 14 days or 25 values"},
    {"graph.range3", "graph.range3", 600, 143, 32, 32, State::Only, Fit::Copy, 0, 0, false,
     "range of 30 days or 50 values"},
    {"graph.range4", "graph.range4", 585, 184, 32, 32, State::Only, Fit::Copy, 0, 0, false,
     "range of 60 days or 75 values"},
    {"graph.range5", "graph.range5", 545, 240, 32, 32, State::Only, Fit::Copy, 0, 0, false,
     "longest range: 90 days or 100 values"},

    // Pictures.
    {"message.stop", "message.stop", 591, 96, 43, 43, State::Only, Fit::Copy, 0, 0, true,
     "message box icon: stop / error"},
    {"message.question", "message.question", 547, 96, 43, 43, State::Only, Fit::Copy, 0, 0, true,
     "message box icon: question"},
    {"message.info", "message.info", 549, 140, 43, 43, State::Only, Fit::Copy, 0, 0, true,
     "message box icon: information, also used for exclamation and the progress box"},
    {"about.logo", "about.logo", 500, 0, 95, 95, State::Only, Fit::Copy, 0, 0, false, "about box logo"},
    {"logo.wordmark", "logo.wordmark", 1, 129, 215, 31, State::Only, Fit::Copy, 0, 0, true,
     "product logo at the bottom left of the wizard and the preferences"},
    {"prefs.picture", "prefs.picture", 364, 161, 82, 70, State::Only, Fit::Copy, 0, 0, true,
     "preferences picture at (41, 55)"},
    {"wizard.kind1", "wizard.kind1", 1, 161, 120, 159, State::Only, Fit::Copy, 0, 0, true,
     "new-project button of kind 1, Lexicon Tide"},
    {"wizard.kind2", "wizard.kind2", 122, 161, 120, 159, State::Only, Fit::Copy, 0, 0, true,
     "new-project button of kind 2, Niche Lantern"},
    {"wizard.kind3", "wizard.kind3", 243, 161, 120, 159, State::Only, Fit::Copy, 0, 0, true,
     "new-project button of kind 3, Campaign Chronicle"},
    {"wizard.kind4", "wizard.kind4", 1, 321, 120, 159, State::Only, Fit::Copy, 0, 0, true,
     "new-project button of kind 4, Rank Summit"},
    {"wizard.kind5", "wizard.kind5", 122, 321, 120, 159, State::Only, Fit::Copy, 0, 0, true,
     "new-project button of kind 5, Bid Watchtower"},
    {"wizard.kind6", "wizard.kind6", 243, 321, 120, 159, State::Only, Fit::Copy, 0, 0, true,
     "new-project button of kind 6, Placement Scout"},
    {"wizard.kind7", "wizard.kind7", 364, 321, 120, 159, State::Only, Fit::Copy, 0, 0, true,
     "new-project button of kind 7, Partner Prospector"},
    {"wizard.kind8", "wizard.kind8", 485, 321, 120, 159, State::Only, Fit::Copy, 0, 0, true,
     "new-project button of kind 8, Offer Compass"},
});
// clang-format on

// The piece of that name; naming a piece that does not exist fails to compile where used as a constant.
consteval const AtlasPiece& PieceByName(std::string_view name) {
    for (const AtlasPiece& piece : kAtlasPieces)
        if (piece.name == name)
            return piece;
    throw "no atlas piece of that name";
}

} // namespace skin_art

// status_page_state.h: the parse state the status-page handlers keep between scanner events.
//
// Kept apart from the handlers so that the library state can carry it without depending on
// the markup scanner.
#pragma once

namespace lumora {

// What the next text run means; set by a start tag, consumed by the element's first text run.
enum class TextMode : int {
    kNone = 0,
    kHeading = 1,  // h2
    kLabel = 2,    // td class "small_item_td"
    kValue = 3,    // td class "small_item_td2"
    kTitle = 4,    // title
};

inline constexpr int kNoItem = -1;
inline constexpr int kHeadingSize = 128;

// g_library carries the single instance. Every text run resets text_mode and every value run
// resets item_code, so each page starts from these defaults.
struct StatusPageState {
    int item_code = kNoItem;  // index into the item table, or kNoItem
    TextMode text_mode = TextMode::kNone;
    char heading[kHeadingSize] = {};  // current section heading, always NUL-terminated
};

}  // namespace lumora

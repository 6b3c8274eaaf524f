// status_page.h: the handlers that turn the router's status page into a RouterStatus.
//
// The page is a series of small tables: an h2 section heading, then rows whose "small_item_td"
// cell names an item and whose "small_item_td2" cell holds its value. Heading plus label select
// one of a fixed set of items; the value fills the current record (g_library.current_status).
// The same handlers notice the initial-password page and pass input tags to the token capture.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/page/markup_scanner.h"
#include "common/page/status_page_state.h"

namespace lumora {

inline constexpr int kItemCount = 19;
inline constexpr int kItemKeySize = 128;

// The item table: heading immediately followed by label, in item-code order.
extern const char* const kItemKeys[kItemCount];

// The markup handlers of every page the library reads. They keep no state of their own: the
// parse state, the page flags and the record are in g_library, and the caller makes a record
// current (g_library.current_status) before scanning; with none, values are read and dropped.
// They never fail and never allocate.
class StatusPageHandlers : public MarkupHandlers {
  public:
    void StartElement(const char* name, const char* const* attributes) override;
    void EndElement(const char* name) override;
    void Text(const char* text, int length) override;
};

// Applies the value rule of `item_code` to the current record, then resets the item code.
// `text` is the trimmed value of `length` bytes.
void InterpretItemValue(int item_code, const char* text, int length);

// Reads the leading decimal digits of a battery text ("80%" gives 80); -3 when the text does
// not begin with a digit. A run too long for an int gives the largest int, which no range admits.
int ReadBatteryNumber(const char* text, int length);

// A record's text field up to its terminator, or the whole field when the text fills it.
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
    std::string_view text(field, N);
    return text.substr(0, text.find('\0'));
}

// Copies `length` bytes of UTF-8 into a field of `capacity` bytes: NUL-terminated when shorter,
// otherwise cut to the capacity at a character boundary (the rest of the field then zero).
void CopyFieldText(char* field, int capacity, const char* text, int length);

}  // namespace lumora

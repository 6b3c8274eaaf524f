// entity_decoder.h: replaces the few character references the router writes in its value texts.
//
// Only six characters are known, each by its named, decimal and hexadecimal reference; every
// reference and replacement is ASCII, so multi-byte UTF-8 passes through untouched.
#pragma once

#include <string>
#include <vector>

namespace lumora {

struct EntityEntry {
    int id;
    std::string named;        // "&amp;"
    std::string decimal;      // "&#38;"
    std::string hexadecimal;  // "&#x26;" (upper-case digits only)
    std::string replacement;
    std::string description;
};

// The process-wide reference table and the decoder over it. Built once, never modified after.
class EntityTable {
  public:
    // Builds the table on the first call; later calls do nothing. Safe from any thread.
    static void Prepare();

    // The entries in the order Decode applies them; builds the table first if needed.
    static const std::vector<EntityEntry>& Entries();

    // Returns `text` with the table's references replaced. Entries are applied one after
    // another to the progressively decoded text, and within an entry the named, decimal and
    // hexadecimal forms in that order; a replacement is never rescanned by the reference that
    // produced it, but a later entry may decode what an earlier one created ("&amp;lt;" gives
    // "<"). Case-sensitive. The result is never longer than `text`.
    static std::string Decode(const std::string& text);
};

}  // namespace lumora

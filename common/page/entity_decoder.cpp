// entity_decoder.cpp: the character-reference table and the decoder over it.
#include "common/page/entity_decoder.h"

namespace lumora {
namespace {

std::vector<EntityEntry> BuildTable() {
    // No-break space and copyright sign both become a plain space.
    return {
        {1, "&quot;", "&#34;", "&#x22;", "\"", "quotation mark = APL quote"},
        {2, "&amp;", "&#38;", "&#x26;", "&", "ampersand"},
        {3, "&lt;", "&#60;", "&#x3C;", "<", "less-than sign"},
        {4, "&gt;", "&#62;", "&#x3E;", ">", "greater-than sign"},
        {5, "&nbsp;", "&#160;", "&#xA0;", " ", "no-break space = non-breaking space"},
        {12, "&copy;", "&#169;", "&#xA9;", " ", "copyright sign"},
    };
}

// Replaces every occurrence of `reference` left to right, resuming after each replacement.
void ReplaceAll(std::string& text, const std::string& reference, const std::string& replacement) {
    std::size_t at = text.find(reference);
    while (at != std::string::npos) {
        text.replace(at, reference.size(), replacement);
        at = text.find(reference, at + replacement.size());
    }
}

}  // namespace

void EntityTable::Prepare() {
    Entries();
}

const std::vector<EntityEntry>& EntityTable::Entries() {
    // Initialised once even under concurrent first calls; released at process exit.
    static const std::vector<EntityEntry> table = BuildTable();
    return table;
}

std::string EntityTable::Decode(const std::string& text) {
    std::string decoded = text;
    for (const EntityEntry& entry : Entries()) {
        ReplaceAll(decoded, entry.named, entry.replacement);
        ReplaceAll(decoded, entry.decimal, entry.replacement);
        ReplaceAll(decoded, entry.hexadecimal, entry.replacement);
    }
    return decoded;
}

}  // namespace lumora

// reference_markup_scanner.cpp: the earlier, quadratic markup scanner, kept verbatim as the fuzz
// oracle (see the header). The original file's description:
//
// Every search is bounded by the chunk's length, so no byte sequence makes the scanner read or
// write outside the chunk or its own fixed buffers.
#include "fuzz/reference_markup_scanner.h"

#include <cstring>

namespace quirn::fuzz::reference {
namespace {

// Bytes the character led by `lead` takes; 0 for a byte that cannot begin a character.
int CharacterWidth(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC4 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0) {
        return 4;
    }
    return 0;
}

// Position of the ASCII byte `wanted` at or after `from`, walking whole characters so it is
// never matched inside one; -1 when absent or when a character is cut by the chunk's end.
int FindCharacter(const char* text, int from, int length, char wanted) {
    int i = from;
    while (i < length) {
        if (text[i] == wanted) {
            return i;
        }
        int width = CharacterWidth(static_cast<unsigned char>(text[i]));
        // A byte that cannot begin a character is stepped over alone, so markup after it
        // (after "×" or a stray byte) is still found.
        if (width == 0) {
            width = 1;
        }
        i += width;  // a character cut by the chunk's end ends the walk without being read
    }
    return -1;
}

// Position of the first byte at or after `from` that is one of `kWanted`; -1 when none. The
// bytes are template arguments so that each search compiles to a few plain comparisons.
template <char... kWanted>
int FindAny(const char* text, int from, int length) {
    for (int i = from; i < length; ++i) {
        const char byte = text[i];
        if (((byte == kWanted) || ...)) {
            return i;
        }
    }
    return -1;
}

// Position of the first occurrence of `wanted` lying wholly in [from, length); -1 when none.
int FindText(const char* text, int from, int length, const char* wanted) {
    const int size = static_cast<int>(std::strlen(wanted));
    for (int i = from; i <= length - size; ++i) {
        if (std::memcmp(text + i, wanted, size) == 0) {
            return i;
        }
    }
    return -1;
}

}  // namespace

void ReferenceMarkupScanner::Reset(MarkupHandlers& handlers) {
    handlers_ = &handlers;
    scan_state_ = kOutside;
    pending_length_ = 0;
    pending_text_[0] = '\0';
    tag_name_[0] = '\0';
    attributes_[0] = nullptr;
}

void ReferenceMarkupScanner::SetTagName(const char* from, int length) {
    const int kept = length < kTagNameSize - 1 ? length : kTagNameSize - 1;
    std::memcpy(tag_name_, from, kept);
    tag_name_[kept] = '\0';
}

void ReferenceMarkupScanner::AppendPending(const char* from, int length) {
    const int room = kPendingTextSize - 1 - pending_length_;
    const int kept = length < room ? length : room;
    if (kept > 0) {
        std::memcpy(pending_text_ + pending_length_, from, kept);
        pending_length_ += kept;
    }
    pending_text_[pending_length_] = '\0';
}

void ReferenceMarkupScanner::ClearPending() {
    pending_length_ = 0;
    pending_text_[0] = '\0';
}

int ReferenceMarkupScanner::ScanChunk(char* text, int length) {
    if (text == nullptr || length <= 0) {
        return kScanOk;
    }
    int p = 0;
    if (scan_state_ == kInProcessing || scan_state_ == kInDeclaration ||
        scan_state_ == kInComment) {
        const char* closer = scan_state_ == kInProcessing    ? "?>"
                             : scan_state_ == kInDeclaration ? ">"
                                                             : "-->";
        const int at = FindText(text, 0, length, closer);
        if (at < 0) {
            return kScanOk;  // the whole chunk lies inside the construct
        }
        p = at + static_cast<int>(std::strlen(closer));
        scan_state_ = kOutside;
        ClearPending();
    } else if (scan_state_ == kOutside) {
        ClearPending();
    }

    while (p < length) {
        const int open = FindCharacter(text, p, length, '<');
        if (open < 0) {
            const unsigned char c = static_cast<unsigned char>(text[p]);
            if (c >= 0x21 && c <= 0x7F) {
                // A text run cut by the chunk's end is carried over from its first printable
                // byte; anywhere else the rest of the chunk carries nothing.
                if (scan_state_ == kCollectingText) {
                    AppendPending(text + p, length - p);
                }
                return kScanOk;
            }
            ++p;  // blank, control byte or a byte of a multi-byte character
            continue;
        }
        if (scan_state_ == kCollectingText) {
            AppendPending(text + p, open - p);
            if (handlers_ != nullptr) {
                handlers_->Text(pending_text_, pending_length_);
            }
            scan_state_ = kOutside;
            ClearPending();
        }
        const int after = open + 1;
        const char kind = after < length ? text[after] : '\0';
        if (kind == '!') {
            const bool first_dash = after + 1 < length && text[after + 1] == '-';
            const bool second_dash = after + 2 < length && text[after + 2] == '-';
            if (first_dash && second_dash) {
                const int close = FindText(text, after, length, "-->");
                if (close < 0) {
                    scan_state_ = kInComment;
                    return kScanOk;
                }
                p = close + 3;
            } else if (first_dash) {
                return kScanBrokenCommentOpen;
            } else {
                const int close = FindAny<'>'>(text, after, length);
                if (close < 0) {
                    scan_state_ = kInDeclaration;
                    return kScanOk;
                }
                p = close + 1;
            }
        } else if (kind == '/') {
            const int close = FindAny<'>'>(text, after + 1, length);
            if (close < 0) {
                return kScanEndTagUnclosed;
            }
            SetTagName(text + after + 1, close - after - 1);
            if (handlers_ != nullptr) {
                handlers_->EndElement(tag_name_);
            }
            p = close + 1;
        } else if (kind == '?') {
            const int close = FindText(text, after, length, "?>");
            if (close < 0) {
                scan_state_ = kInProcessing;
                return kScanOk;
            }
            p = close + 2;
        } else {
            p = open;
            const int result = ScanStartTag(text, length, p);
            if (result != kScanOk) {
                return result;
            }
        }
    }
    return kScanOk;
}

void ReferenceMarkupScanner::AddAttribute(int& count, const char* name, const char* value) {
    // Pairs that do not fit with the terminating null are parsed but dropped.
    if (count + 3 > kAttributeSlots) {
        return;
    }
    attributes_[count] = name;
    attributes_[count + 1] = value;
    attributes_[count + 2] = nullptr;
    count += 2;
}

int ReferenceMarkupScanner::ScanStartTag(char* text, int length, int& p) {
    attributes_[0] = nullptr;
    int count = 0;
    bool self_closing = false;

    const int name_start = p + 1;
    int name_end = name_start;
    // "/>" also ends the name, so "<br/>" is the self-closing "br" rather than "br/".
    while (name_end < length && text[name_end] != ' ' && text[name_end] != '>' &&
           !(text[name_end] == '/' && name_end + 1 < length && text[name_end + 1] == '>')) {
        ++name_end;
    }
    if (name_end >= length) {
        return kScanTagNameUnclosed;
    }
    SetTagName(text + name_start, name_end - name_start);

    if (text[name_end] == '>') {
        p = name_end + 1;
    } else if (text[name_end] == '/') {
        self_closing = true;
        p = name_end + 2;
    } else {
        int start = name_end + 1;  // where the next attribute name begins
        for (;;) {
            const int at = FindAny<'=', '/', '>', ' '>(text, start, length);
            if (at < 0) {
                return kScanAttributesUnclosed;
            }
            if (text[at] == ' ') {
                start = at + 1;  // a name without "=" is never stored
                continue;
            }
            if (text[at] == '/') {
                self_closing = true;
                p = at + 2;
                break;
            }
            if (text[at] == '>') {
                p = at + 1;
                break;
            }
            text[at] = '\0';
            const char* name = text + start;
            const int value_start = at + 1;
            const char quote = value_start < length ? text[value_start] : '\0';
            if (quote == '"' || quote == '\'') {
                const int close = FindCharacter(text, value_start + 1, length, quote);
                if (close < 0) {
                    return kScanQuotedValueUnclosed;
                }
                text[close] = '\0';
                AddAttribute(count, name, text + value_start + 1);
                start = close + 1;
                continue;
            }
            const int stop = FindAny<'/', '>', ' '>(text, value_start, length);
            if (stop < 0) {
                return kScanUnquotedValueUnclosed;
            }
            const char delimiter = text[stop];
            text[stop] = '\0';
            AddAttribute(count, name, text + value_start);
            if (delimiter == ' ') {
                start = stop + 1;
                continue;
            }
            self_closing = delimiter == '/';
            p = stop + (self_closing ? 2 : 1);
            break;
        }
    }

    if (handlers_ != nullptr) {
        handlers_->StartElement(tag_name_, attributes_);
        if (self_closing) {
            handlers_->EndElement(tag_name_);
        }
    }
    scan_state_ = self_closing ? kOutside : kCollectingText;
    return kScanOk;
}

}  // namespace quirn::fuzz::reference

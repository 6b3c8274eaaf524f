// markup_scanner.cpp: the incremental tokenizer that turns page chunks into handler events.
//
// Every search is bounded by the chunk's length, so no byte sequence makes the scanner read or
// write outside the chunk or its own fixed buffers.
#include "common/page/markup_scanner.h"

#include <cstdint>
#include <cstring>

namespace lumora {
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

// Bytes the walk over the text steps at `lead`: a byte that cannot begin a character is stepped
// over alone, so markup after it (after "×" or a stray byte) is still found.
int StepWidth(unsigned char lead) {
    const int width = CharacterWidth(lead);
    return width == 0 ? 1 : width;
}

// Position of the ASCII byte `wanted` at or after `from`, walking whole characters so it is
// never matched inside one; -1 when absent or when a character is cut by the chunk's end.
int FindCharacter(const char* text, int from, int length, char wanted) {
    int i = from;
    while (i < length) {
        if (text[i] == wanted) {
            return i;
        }
        i += StepWidth(static_cast<unsigned char>(text[i]));  // a cut character ends the walk
    }
    return -1;
}

bool IsPrintable(unsigned char byte) {
    return byte >= 0x21 && byte <= 0x7F;
}

// Finds the next "<" the way the scanner has always defined it, in time linear in the chunk.
//
// The rule: from p, walk whole characters to a "<"; when there is none, a printable byte at p
// keeps the rest of the chunk as text, and any other byte is stepped over alone and the walk
// starts again from the next byte. Done literally that is quadratic in a run of blanks or
// multi-byte characters with no "<" after it. What makes it linear with the same answers:
// - When no "<" byte follows at all, every walk fails: the answer is the first printable byte.
// - A walk goes through each position it reaches the same way whatever it started from, so the
//   walks that start before the first printable byte Q can be followed together in one pass,
//   keeping for each position only the earliest start that reaches it. Each reaches Q or one of
//   the three bytes after it (a multi-byte character may step over Q), where only those few
//   walks remain.
// - A walk that found no "<" up to the chunk's end is remembered: another walk that reaches a
//   position on it fails too and stops there. At most four walks that have not met can run side
//   by side (each has a position in every four bytes), so four are enough to remember.
class OpenMarkSearch {
  public:
    OpenMarkSearch(const char* text, int length)
        : text_(text), length_(length), next_mark_byte_(FindMarkByte(0)) {}

    struct Found {
        int from;  // where the old walk began that found `open`; the text runs from here
        int open;  // position of "<", or -1 when the chunk has none from `from` on
    };

    // From `p` (< length, and past every position of an earlier call's answer).
    Found Next(int p) {
        if (text_[p] == '<') {
            return {p, p};  // markup is dense: most searches start at the mark
        }
        if (!MarkByteFrom(p)) {
            // No "<" byte at all: every walk fails, and the first printable byte ends the search.
            bool wide = false;
            return {FirstPrintable(p, wide), -1};
        }
        ForgetBefore(p);
        const int open = Walk(p);  // the usual case: the walk from p finds the mark
        if (open >= 0 || IsPrintable(static_cast<unsigned char>(text_[p]))) {
            return {p, open};
        }
        bool wide = false;  // a byte of 0x80 or above before the first printable byte
        const int first_printable = FirstPrintable(p, wide);
        if (first_printable == length_) {
            return {length_, -1};  // no printable byte, so no "<" either
        }
        if (!wide) {
            // Blanks and control bytes only: every walk from p on steps through each of them,
            // so each is the walk from p, which found nothing.
            return {first_printable, -1};
        }
        // The earliest start reaching each of the positions x+1 to x+4, indexed by position % 4.
        int earliest[4] = {-1, -1, -1, -1};
        for (int x = p; x < first_printable; ++x) {
            int start = earliest[x & 3];
            earliest[x & 3] = -1;
            if (start < 0) {
                start = x;
            }
            const int next = x + StepWidth(static_cast<unsigned char>(text_[x]));
            if (next < length_ && (earliest[next & 3] < 0 || start < earliest[next & 3])) {
                earliest[next & 3] = start;
            }
        }
        if (earliest[first_printable & 3] < 0) {
            earliest[first_printable & 3] = first_printable;  // the walk that starts there
        }
        ForgetBefore(first_printable);
        // The walks left, earliest start first: the first one that finds "<" is the answer.
        for (;;) {
            int best = -1;
            for (int k = 0; k < 4; ++k) {
                const int at = first_printable + k;
                const int start = earliest[at & 3];
                if (start >= 0 && at < length_ && (best < 0 || start < earliest[best & 3])) {
                    best = at;
                }
            }
            if (best < 0) {
                return {first_printable, -1};
            }
            const int open = Walk(best);
            if (open >= 0) {
                return {earliest[best & 3], open};
            }
            earliest[best & 3] = -1;
        }
    }

  private:
    static constexpr int kRemembered = 4;

    // Whether a "<" byte lies at or after `from`; the answer is kept, as `from` only grows.
    bool MarkByteFrom(int from) {
        if (next_mark_byte_ >= 0 && next_mark_byte_ < from) {
            next_mark_byte_ = FindMarkByte(from);
        }
        return next_mark_byte_ >= 0;
    }

    int FindMarkByte(int from) const {
        // Markup is dense: look at a few bytes before paying for a call.
        const int near_end = from + 16 < length_ ? from + 16 : length_;
        for (int i = from; i < near_end; ++i) {
            if (text_[i] == '<') {
                return i;
            }
        }
        const void* mark = std::memchr(text_ + near_end, '<', length_ - near_end);
        return mark == nullptr ? -1 : static_cast<int>(static_cast<const char*>(mark) - text_);
    }

    // Position of the first byte in 0x21-0x7F at or after `from`, or the length; `wide` tells
    // whether a byte of 0x80 or above came before it. Eight bytes at a time: a byte is printable
    // when its high bit is clear and its low seven bits plus 0x5F reach 0x80 (no carry crosses
    // into the next byte, as 0x7F + 0x5F < 0x100).
    int FirstPrintable(int from, bool& wide) const {
        constexpr std::uint64_t kHigh = 0x8080808080808080u;
        constexpr std::uint64_t kLow = 0x7F7F7F7F7F7F7F7Fu;
        constexpr std::uint64_t kAdd = 0x5F5F5F5F5F5F5F5Fu;
        int i = from;
        std::uint64_t high = 0;
        for (; i + 8 <= length_; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, text_ + i, sizeof word);
            if ((((word & kLow) + kAdd) & ~word & kHigh) != 0) {
                break;  // a printable byte in these eight; the loop below finds it
            }
            high |= word & kHigh;
        }
        wide = high != 0;
        for (; i < length_; ++i) {
            const unsigned char byte = static_cast<unsigned char>(text_[i]);
            if (IsPrintable(byte)) {
                return i;
            }
            wide = wide || byte >= 0x80;
        }
        return length_;
    }

    // First "<" on the walk from `from`; -1, and the walk remembered, when it has none.
    int Walk(int from) {
        if (remembered_ == 0) {
            const int open = FindCharacter(text_, from, length_, '<');
            if (open < 0) {
                Remember(from);
            }
            return open;
        }
        int at[kRemembered];
        for (int i = 0; i < remembered_; ++i) {
            at[i] = failed_[i];
        }
        for (int d = from; d < length_; d += StepWidth(static_cast<unsigned char>(text_[d]))) {
            for (int i = 0; i < remembered_; ++i) {
                while (at[i] < d) {
                    at[i] += StepWidth(static_cast<unsigned char>(text_[at[i]]));
                }
                if (at[i] == d) {
                    Remember(from);
                    return -1;  // joined a walk known to find nothing
                }
            }
            if (text_[d] == '<') {
                return d;
            }
        }
        Remember(from);
        return -1;
    }

    void Remember(int from) {
        for (int i = 0; i < remembered_; ++i) {
            if (failed_[i] == from) {
                return;
            }
        }
        if (remembered_ < kRemembered) {
            failed_[remembered_++] = from;
        }
    }

    // Moves each remembered walk to its first position at or after `from` (later searches
    // start there), dropping those that meet another or leave the chunk.
    void ForgetBefore(int from) {
        int kept = 0;
        for (int i = 0; i < remembered_; ++i) {
            int at = failed_[i];
            while (at < from) {
                at += StepWidth(static_cast<unsigned char>(text_[at]));
            }
            bool known = at >= length_;
            for (int j = 0; j < kept && !known; ++j) {
                known = failed_[j] == at;
            }
            if (!known) {
                failed_[kept++] = at;
            }
        }
        remembered_ = kept;
    }

    const char* text_;
    int length_;
    int next_mark_byte_;  // first "<" byte at or after the last search's start; -1: none
    int failed_[kRemembered] = {};
    int remembered_ = 0;
};

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

void MarkupScanner::Reset(MarkupHandlers& handlers) {
    handlers_ = &handlers;
    scan_state_ = kOutside;
    pending_length_ = 0;
    pending_text_[0] = '\0';
    tag_name_[0] = '\0';
    attributes_[0] = nullptr;
}

void MarkupScanner::SetTagName(const char* from, int length) {
    const int kept = length < kTagNameSize - 1 ? length : kTagNameSize - 1;
    std::memcpy(tag_name_, from, kept);
    tag_name_[kept] = '\0';
}

void MarkupScanner::AppendPending(const char* from, int length) {
    const int room = kPendingTextSize - 1 - pending_length_;
    const int kept = length < room ? length : room;
    if (kept > 0) {
        std::memcpy(pending_text_ + pending_length_, from, kept);
        pending_length_ += kept;
    }
    pending_text_[pending_length_] = '\0';
}

void MarkupScanner::ClearPending() {
    pending_length_ = 0;
    pending_text_[0] = '\0';
}

int MarkupScanner::ScanChunk(char* text, int length) {
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

    OpenMarkSearch search(text, length);
    while (p < length) {
        // Blanks, control bytes and bytes of multi-byte characters before the mark are stepped
        // over; so, before the first printable byte, is a text run with no "<" after it.
        const OpenMarkSearch::Found found = search.Next(p);
        p = found.from;
        const int open = found.open;
        if (open < 0) {
            // A text run cut by the chunk's end is carried over from its first printable byte;
            // anywhere else the rest of the chunk carries nothing.
            if (scan_state_ == kCollectingText && p < length) {
                AppendPending(text + p, length - p);
            }
            return kScanOk;
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

void MarkupScanner::AddAttribute(int& count, const char* name, const char* value) {
    // Pairs that do not fit with the terminating null are parsed but dropped.
    if (count + 3 > kAttributeSlots) {
        return;
    }
    attributes_[count] = name;
    attributes_[count + 1] = value;
    attributes_[count + 2] = nullptr;
    count += 2;
}

int MarkupScanner::ScanStartTag(char* text, int length, int& p) {
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

}  // namespace lumora

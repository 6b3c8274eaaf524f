// reference_markup_scanner.h: the earlier markup scanner, kept verbatim as the fuzz oracle.
//
// This is the version whose search for "<" started again after every blank or non-ASCII byte it
// stepped over, quadratic on a long run without markup. fuzz_scanner_reference checks that the
// product's scanner gives the same results, events and chunk bytes on any input. Only the
// namespace and the class name differ from the original; the handlers and result codes are the
// product's own.
#pragma once

#include "common/page/markup_scanner.h"

namespace quirn::fuzz::reference {

using lumora::kScanAttributesUnclosed;
using lumora::kScanBrokenCommentOpen;
using lumora::kScanEndTagUnclosed;
using lumora::kScanOk;
using lumora::kScanQuotedValueUnclosed;
using lumora::kScanTagNameUnclosed;
using lumora::kScanUnquotedValueUnclosed;
using lumora::MarkupHandlers;

class ReferenceMarkupScanner {
  public:
    // Prepares for a new page: no construct open, no pending text, `handlers` receive events.
    void Reset(MarkupHandlers& handlers);

    // Scans one NUL-terminated UTF-8 chunk of `length` bytes, writing terminators into it.
    // Returns 0, or the error code (1 to 6) of a construct the chunk leaves malformed.
    // Touches no byte at or past `length`, whatever the bytes; the text run is cut at 8191
    // bytes, tag names at 127, and attribute pairs beyond the first 15 are dropped.
    int ScanChunk(char* text, int length);

  private:
    static constexpr int kPendingTextSize = 8192;  // bytes including the terminating NUL
    static constexpr int kTagNameSize = 128;
    static constexpr int kAttributeSlots = 32;  // 15 name/value pairs and the null

    enum ScanState {
        kOutside = 0,         // not inside any construct
        kInProcessing = 1,    // waiting for "?>"
        kInDeclaration = 2,   // waiting for ">"
        kInComment = 3,       // waiting for "-->"
        kCollectingText = 5,  // after a start tag, collecting the element's text
    };

    // Reads the start tag whose "<" is at `p` and reports it; on success `p` is past the tag.
    int ScanStartTag(char* text, int length, int& p);
    void AddAttribute(int& count, const char* name, const char* value);
    void SetTagName(const char* from, int length);
    void AppendPending(const char* from, int length);
    void ClearPending();

    MarkupHandlers* handlers_ = nullptr;
    int scan_state_ = kOutside;
    char pending_text_[kPendingTextSize] = {};
    int pending_length_ = 0;
    char tag_name_[kTagNameSize] = {};
    const char* attributes_[kAttributeSlots] = {};
};

}  // namespace quirn::fuzz::reference

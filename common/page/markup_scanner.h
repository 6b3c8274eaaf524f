// markup_scanner.h: a small incremental tokenizer for the router's HTML.
//
// The page arrives in chunks (one received line each). The scanner reports start tags with their
// attributes, end tags and the text run right after each start tag to a MarkupHandlers; it keeps
// just enough state to carry a comment, declaration, processing instruction or text run over to
// the next chunk. All buffers are fixed: scanning allocates nothing.
#pragma once

namespace lumora {

// Results of MarkupScanner::ScanChunk. A non-zero result leaves the rest of the chunk unread.
inline constexpr int kScanOk = 0;                     // chunk consumed; constructs may stay open
inline constexpr int kScanBrokenCommentOpen = 1;      // "<!-" not followed by a second "-"
inline constexpr int kScanEndTagUnclosed = 2;         // end tag without ">" in the chunk
inline constexpr int kScanTagNameUnclosed = 3;        // start tag without " " or ">" in the chunk
inline constexpr int kScanAttributesUnclosed = 4;     // attribute list not closed in the chunk
inline constexpr int kScanQuotedValueUnclosed = 5;    // quoted value without its closing quote
inline constexpr int kScanUnquotedValueUnclosed = 6;  // unquoted value without "/", ">" or " "

// Receives what the scanner finds, synchronously and in document order.
class MarkupHandlers {
  public:
    virtual ~MarkupHandlers() = default;
    // `attributes` is name, value, name, value, ..., nullptr. The texts point into the chunk
    // being scanned and are valid only during this call.
    virtual void StartElement(const char* name, const char* const* attributes) = 0;
    virtual void EndElement(const char* name) = 0;
    // The text that directly follows a start tag, possibly empty; `text` is NUL-terminated.
    virtual void Text(const char* text, int length) = 0;
};

class MarkupScanner {
  public:
    // Prepares for a new page: no construct open, no pending text, `handlers` receive events.
    void Reset(MarkupHandlers& handlers);

    // Scans one NUL-terminated UTF-8 chunk of `length` bytes, writing terminators into it.
    // Returns 0, or the error code (1 to 6) of a construct the chunk leaves malformed.
    // Touches no byte at or past `length`, whatever the bytes, and takes time in proportion to
    // `length`; the text run is cut at 8191 bytes, tag names at 127, and attribute pairs beyond
    // the first 15 are dropped.
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

}  // namespace lumora

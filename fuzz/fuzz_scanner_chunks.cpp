// fuzz_scanner_chunks.cpp: the markup scanner fed the same text in different chunkings.
//
// Two modes, chosen by the first input byte:
// - Any bytes, cut anywhere: each chunk sits in a buffer of exactly its size; the scanner may
//   only turn bytes of the chunk into terminators, reports tag names of at most 127 bytes, at
//   most 15 attribute pairs and zero-terminated texts of at most 8191 bytes.
// - Markup built from the input (tags with attributes, end tags, texts of UTF-8 characters,
//   comments, declarations, processing instructions), cut at the boundaries of its pieces and
//   anywhere inside texts, where the reader's lines may end. Whole, the text reports each
//   element's text exactly; cut, it reports the same events, and a text differs only as the
//   scanner's carry-over rule says: the part of a text in a chunk that does not also hold the
//   text's end is carried from its first printable byte (0x21-0x7F) on, or not at all.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/page/markup_scanner.h"
#include "fuzz/fuzz_check.h"

namespace {

constexpr std::size_t kTextLimit = 8191;

// Records the events as one line each.
class Transcript : public lumora::MarkupHandlers {
  public:
    void StartElement(const char* name, const char* const* attributes) override {
        FUZZ_CHECK(std::strlen(name) <= 127);
        std::string line = "S " + std::string(name);
        int pairs = 0;
        for (const char* const* a = attributes; *a != nullptr; a += 2) {
            FUZZ_CHECK(a[1] != nullptr);
            line += std::string(" ") + a[0] + "=" + a[1];
            ++pairs;
        }
        FUZZ_CHECK(pairs <= 15);
        events.push_back(line);
    }
    void EndElement(const char* name) override {
        FUZZ_CHECK(std::strlen(name) <= 127);
        events.push_back("E " + std::string(name));
    }
    void Text(const char* text, int length) override {
        FUZZ_CHECK(length >= 0 && static_cast<std::size_t>(length) <= kTextLimit);
        FUZZ_CHECK(text[length] == '\0');
        events.push_back("T " + std::string(text, length));
    }
    std::vector<std::string> events;
};

// Scans `text` cut before each position in `cuts` (ascending, inside the text); every chunk in
// a buffer of its own exact size. Returns the first non-zero scan result, or 0.
int ScanInChunks(const std::string& text, const std::vector<std::size_t>& cuts, Transcript& out) {
    lumora::MarkupScanner scanner;
    scanner.Reset(out);
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= cuts.size(); ++i) {
        const std::size_t end = i < cuts.size() ? cuts[i] : text.size();
        const std::size_t length = end - begin;
        auto chunk = std::make_unique<char[]>(length + 1);
        std::memcpy(chunk.get(), text.data() + begin, length);
        chunk[length] = '\0';
        const int result = scanner.ScanChunk(chunk.get(), static_cast<int>(length));
        for (std::size_t k = 0; k < length; ++k) {
            FUZZ_CHECK(chunk[k] == text[begin + k] || chunk[k] == '\0');
        }
        FUZZ_CHECK(chunk[length] == '\0');
        FUZZ_CHECK(result >= lumora::kScanOk && result <= lumora::kScanUnquotedValueUnclosed);
        if (result != lumora::kScanOk) {
            return result;
        }
        begin = end;
    }
    return lumora::kScanOk;
}

// Reads the input a byte at a time; zeros once it runs out.
class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return position_ >= size_; }
    unsigned Byte() { return position_ < size_ ? data_[position_++] : 0; }
    unsigned Below(unsigned limit) { return Byte() % limit; }
    std::string Word(const char* alphabet, unsigned longest) {
        const std::size_t size = std::strlen(alphabet);
        std::string word;
        for (unsigned n = 1 + Below(longest); n > 0; --n) {
            word += alphabet[Byte() % size];
        }
        return word;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

void AnyBytesAnyCuts(Input& input, const std::uint8_t* data, std::size_t size) {
    // The first half of the input picks the cuts, the text is the rest.
    std::vector<std::size_t> cuts;
    const std::string text(reinterpret_cast<const char*>(data) + size / 2, size - size / 2);
    for (std::size_t position = 1; position < text.size(); ++position) {
        if (!input.empty() && input.Below(8) == 0) {
            cuts.push_back(position);
        }
    }
    Transcript transcript;
    ScanInChunks(text, cuts, transcript);
}

enum class PieceKind { kStartTag, kSelfClosingTag, kEndTag, kText, kOther };

struct Piece {
    PieceKind kind;
    std::size_t begin;
    std::size_t end;
};

constexpr const char* kTextCharacters[] = {"a",
                                           "Z",
                                           "0",
                                           " ",
                                           "\t",
                                           ">",
                                           "&",
                                           "\"",
                                           "=",
                                           "/",
                                           "\x7F",
                                           "\xC3\x97",
                                           "\xE6\x97\xA5",
                                           "\xF0\x9F\x93\xB6"};

void BuiltMarkup(Input& input) {
    std::string text;
    std::vector<Piece> pieces;
    std::vector<std::size_t> allowed_cuts;  // where a chunk may end without breaking markup
    while (!input.empty() && text.size() < 20000) {
        const std::size_t begin = text.size();
        allowed_cuts.push_back(begin);
        PieceKind kind = PieceKind::kOther;
        switch (input.Below(8)) {
            case 0:
            case 1: {
                // Appended piece by piece: "literal" + string trips a false -Wrestrict in g++ 12.
                text += '<';
                text += input.Word("abcdefghtd012", 8);
                for (unsigned n = input.Below(4); n > 0; --n) {
                    text += ' ';
                    text += input.Word("abcxyz", 5);
                    text += '=';
                    if (input.Below(2) == 0) {
                        text += '"';
                        text += input.Word("ab c/>=_-", 6);
                        text += '"';
                    } else {
                        text += input.Word("abc0_.", 6);
                    }
                }
                const bool self_closing = input.Below(4) == 0;
                text += self_closing ? "/>" : ">";
                kind = self_closing ? PieceKind::kSelfClosingTag : PieceKind::kStartTag;
                break;
            }
            case 2:
                text += "</" + input.Word("abcdefghtd012", 8) + ">";
                kind = PieceKind::kEndTag;
                break;
            case 3:
            case 4:
            case 5:
                kind = PieceKind::kText;
                for (unsigned n = 1 + input.Below(40); n > 0; --n) {
                    allowed_cuts.push_back(text.size());
                    text += kTextCharacters[input.Below(std::size(kTextCharacters))];
                }
                break;
            case 6:
                // Starts with a letter: "<!-->" would close at once.
                text += "<!--c" + input.Word("ab <>!", 10) + "-->";
                break;
            default:
                text += input.Below(2) == 0 ? "<!DOCTYPE " + input.Word("ahtml ", 6) + ">"
                                            : "<?" + input.Word("xml =", 6) + "?>";
                break;
        }
        pieces.push_back({kind, begin, text.size()});
    }

    Transcript whole;
    FUZZ_CHECK(ScanInChunks(text, {}, whole) == lumora::kScanOk);

    // Each start tag's text runs from its ">" to the next piece that is not text; it is
    // reported only when such a piece follows.
    struct Run {
        std::size_t begin;
        std::size_t end;
    };
    std::vector<Run> runs;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].kind != PieceKind::kStartTag) {
            continue;
        }
        std::size_t next = i + 1;
        while (next < pieces.size() && pieces[next].kind == PieceKind::kText) {
            ++next;
        }
        if (next < pieces.size()) {
            runs.push_back({pieces[i].end, pieces[next].begin});
        }
    }
    std::size_t run_index = 0;
    for (const std::string& event : whole.events) {
        if (event[0] == 'T') {
            FUZZ_CHECK(run_index < runs.size());
            const Run& run = runs[run_index++];
            FUZZ_CHECK(event.substr(2) ==
                       text.substr(run.begin, std::min(run.end - run.begin, kTextLimit)));
        }
    }
    FUZZ_CHECK(run_index == runs.size());

    // Cut at some of the allowed places and predict the texts.
    std::vector<std::size_t> cuts;
    for (std::size_t position : allowed_cuts) {
        if (position > 0 && (cuts.empty() || cuts.back() < position) && input.Below(3) == 0) {
            cuts.push_back(position);
        }
    }
    Transcript cut;
    FUZZ_CHECK(ScanInChunks(text, cuts, cut) == lumora::kScanOk);
    FUZZ_CHECK(cut.events.size() == whole.events.size());
    run_index = 0;
    for (std::size_t e = 0; e < whole.events.size(); ++e) {
        if (whole.events[e][0] != 'T') {
            FUZZ_CHECK(cut.events[e] == whole.events[e]);
            continue;
        }
        const Run& run = runs[run_index++];
        std::string expected;
        std::size_t piece_begin = run.begin;
        for (std::size_t c : cuts) {
            if (c <= run.begin || c > run.end) {
                continue;
            }
            // A part without the text's end: carried from its first printable byte.
            std::size_t first = piece_begin;
            while (first < c && !(static_cast<unsigned char>(text[first]) >= 0x21 &&
                                  static_cast<unsigned char>(text[first]) <= 0x7F)) {
                ++first;
            }
            expected += text.substr(first, c - first);
            piece_begin = c;
        }
        expected += text.substr(piece_begin, run.end - piece_begin);
        FUZZ_CHECK(cut.events[e] == "T " + expected.substr(0, kTextLimit));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input input(data, size);
    if (input.Below(2) == 0) {
        AnyBytesAnyCuts(input, data, size);
    } else {
        BuiltMarkup(input);
    }
    return 0;
}

// fuzz_scanner_reference.cpp: the markup scanner against the earlier scanner it replaced.
//
// The product's scanner must give, for any bytes, exactly what the earlier (quadratic) scanner
// in reference_markup_scanner.* gave: the same result for every chunk, the same events with the
// same texts and attributes, and the same terminators written into each chunk. Both are fed
// the text whole and cut into chunks, and are fed on after an error, so that the state an
// error leaves behind is compared too.
//
// The first input byte picks how the rest becomes text: taken as it is, or each byte mapped
// to one of a few dozen pieces (markup delimiters, blanks, lead and continuation bytes of
// multi-byte characters, "<" right after a lead byte) so that long runs of such bytes and
// "<" hidden inside a character come up often. The bytes of the other half pick the cuts.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/page/markup_scanner.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/reference_markup_scanner.h"

namespace {

// Every event as one line, attribute pointers resolved while they are valid.
class EventLog : public lumora::MarkupHandlers {
  public:
    void StartElement(const char* name, const char* const* attributes) override {
        // Appended piece by piece: "literal" + string trips a false -Wrestrict in g++ 12.
        std::string line = "<";
        line += name;
        for (const char* const* a = attributes; *a != nullptr; a += 2) {
            line += " [";
            line += a[0];
            line += "]=[";
            line += a[1];
            line += ']';
        }
        lines.push_back(line);
    }
    void EndElement(const char* name) override {
        std::string line = "</";
        line += name;
        lines.push_back(line);
    }
    void Text(const char* text, int length) override {
        std::string line = "T";
        line += std::to_string(length);
        line += ':';
        line.append(text, length);
        lines.push_back(line);
    }
    std::vector<std::string> lines;
};

// What one scanner made of the chunks: per chunk its result and its bytes afterwards.
struct Outcome {
    std::vector<int> results;
    std::vector<std::string> chunks;
    EventLog events;
};

template <typename Scanner>
void Feed(const std::string& text, const std::vector<std::size_t>& cuts, Outcome& out) {
    auto scanner = std::make_unique<Scanner>();
    scanner->Reset(out.events);
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= cuts.size(); ++i) {
        const std::size_t end = i < cuts.size() ? cuts[i] : text.size();
        const std::size_t length = end - begin;
        auto chunk = std::make_unique<char[]>(length + 1);
        std::memcpy(chunk.get(), text.data() + begin, length);
        chunk[length] = '\0';
        out.results.push_back(scanner->ScanChunk(chunk.get(), static_cast<int>(length)));
        out.chunks.emplace_back(chunk.get(), length + 1);
        begin = end;
    }
}

void Compare(const std::string& text, const std::vector<std::size_t>& cuts) {
    Outcome product;
    Outcome reference;
    Feed<lumora::MarkupScanner>(text, cuts, product);
    Feed<quirn::fuzz::reference::ReferenceMarkupScanner>(text, cuts, reference);
    FUZZ_CHECK(product.results == reference.results);
    FUZZ_CHECK(product.chunks == reference.chunks);
    FUZZ_CHECK(product.events.lines == reference.events.lines);
}

constexpr const char* kPieces[] = {
    "<",  ">",  "/",  "!",  "-",  "?",  "=",  "\"", "'",  " ",  " ",  " ",  "\n", "\t",
    "a",  "td", "x",  "8",  "%",  "<!--", "-->", "<td>", "</td>", "<br/>", "<a b=c>",
    "\x7F", "\x01", "\x80", "\xA5", "\xC3", "\xC3\x97", "\xC4", "\xDF", "\xE0", "\xE6\x97\xA5",
    "\xEF", "\xF0", "\xF0\x9F\x93\xB6", "\xFF", "\xE6<", "\xF0 <", "\xC4<", "\xE0\xE0<",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool mapped = (data[0] & 1) != 0;
    const std::size_t half = 1 + (size - 1) / 2;  // [1, half) picks the cuts, the rest the text
    std::string text;
    for (std::size_t i = half; i < size; ++i) {
        if (mapped) {
            text += kPieces[data[i] % std::size(kPieces)];
        } else {
            text += static_cast<char>(data[i]);
        }
    }
    Compare(text, {});
    std::vector<std::size_t> cuts;
    std::size_t position = 0;
    for (std::size_t i = 1; i < half && !text.empty(); ++i) {
        position += 1 + data[i] % 64;
        if (position >= text.size()) {
            break;
        }
        cuts.push_back(position);
    }
    Compare(text, cuts);
    return 0;
}

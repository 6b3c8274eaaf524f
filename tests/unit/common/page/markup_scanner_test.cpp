// markup_scanner_test.cpp: the scanner's events as readable transcripts, fed as the page reader
// feeds it (one mutable chunk per line, line break included), whole and cut, and its bounds.
#include "common/page/markup_scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace lumora {
namespace {

using Transcript = std::vector<std::string>;

// Shows control bytes so a transcript line says exactly what the handler got.
std::string Visible(const char* text, int length) {
    std::string out;
    for (int i = 0; i < length; ++i) {
        if (text[i] == '\n') {
            out += "\\n";
        } else if (text[i] == '\r') {
            out += "\\r";
        } else if (text[i] == '\t') {
            out += "\\t";
        } else {
            out += text[i];
        }
    }
    return out;
}

// Records every event as one line: start td [class=x], text "80%", end td.
class RecordingHandlers : public MarkupHandlers {
  public:
    void StartElement(const char* name, const char* const* attributes) override {
        std::string line = std::string("start ") + name + " [";
        for (int i = 0; attributes[i] != nullptr; i += 2) {
            ASSERT_NE(attributes[i + 1], nullptr) << "a name without its value";
            // Appended piece by piece: "literal" + string trips a false -Wrestrict in g++ 12.
            line += i == 0 ? "" : " ";
            line.append(attributes[i]).append("=").append(attributes[i + 1]);
        }
        events.push_back(line + "]");
    }
    void EndElement(const char* name) override { events.push_back(std::string("end ") + name); }
    void Text(const char* text, int length) override {
        EXPECT_EQ(static_cast<int>(std::strlen(text)), length) << "text is NUL-terminated";
        events.push_back("text \"" + Visible(text, length) + "\"");
    }

    Transcript events;
};

// One chunk in a heap buffer of exactly its size, so a sanitizer sees any read past it.
// With `terminated` the buffer ends with the NUL the page reader puts there.
struct Chunk {
    Chunk(const std::string& bytes, bool terminated = true)
        : length(static_cast<int>(bytes.size())),
          data(new char[bytes.size() + (terminated ? 1 : 0)]) {
        std::memcpy(data.get(), bytes.data(), bytes.size());
        if (terminated) {
            data[bytes.size()] = '\0';
        }
    }
    int length;
    std::unique_ptr<char[]> data;
};

class MarkupScannerTest : public ::testing::Test {
  protected:
    // Heap-allocated so writes past the scanner's last buffer land outside the object.
    MarkupScannerTest() : scanner_(std::make_unique<MarkupScanner>()) {
        scanner_->Reset(handlers_);
    }

    // Feeds `chunks` in order; stops at the first error and records it as "error N".
    Transcript FeedChunks(const std::vector<std::string>& chunks, bool terminated = true) {
        for (const std::string& bytes : chunks) {
            Chunk chunk(bytes, terminated);
            const int result = scanner_->ScanChunk(chunk.data.get(), chunk.length);
            if (result != kScanOk) {
                handlers_.events.push_back("error " + std::to_string(result));
                break;
            }
        }
        return handlers_.events;
    }

    // Feeds `input` as the page reader does: line by line, each with its line break.
    Transcript FeedLines(const std::string& input) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        while (start < input.size()) {
            std::size_t end = input.find('\n', start);
            end = end == std::string::npos ? input.size() : end + 1;
            lines.push_back(input.substr(start, end - start));
            start = end;
        }
        return FeedChunks(lines);
    }

    RecordingHandlers handlers_;
    std::unique_ptr<MarkupScanner> scanner_;
};

struct TranscriptCase {
    const char* what;
    std::string input;
    Transcript expected;
};

TEST_F(MarkupScannerTest, ReportsElementsAttributesAndTheTextAfterEachStartTag) {
    const std::vector<TranscriptCase> cases = {
        {"value cell",
         "<td class=\"small_item_td2\">80%</td>",
         {"start td [class=small_item_td2]", "text \"80%\"", "end td"}},
        {"self-closing with a space", "<br />after", {"start br []", "end br"}},
        {"self-closing without a space", "<br/>after", {"start br []", "end br"}},
        {"start tag right after a start tag gives an empty run",
         "<td><b>x</b></td>",
         {"start td []", "text \"\"", "start b []", "text \"x\"", "end b", "end td"}},
        {"text after a nested end tag is dropped",
         "<td>ab<b>cd</b>ef</td>",
         {"start td []", "text \"ab\"", "start b []", "text \"cd\"", "end b", "end td"}},
        {"hidden token input",
         "<input type=\"hidden\" id=\"SESSION_ID\" name=\"SESSION_ID\" value=\"0123abcd\">",
         {"start input [type=hidden id=SESSION_ID name=SESSION_ID value=0123abcd]"}},
        {"unquoted last value ends at >",
         "<td class=x>abc</td>",
         {"start td [class=x]", "text \"abc\"", "end td"}},
        {"attribute without = is not stored",
         "<input disabled type=text  checked>",
         {"start input [type=text]"}},
        {"single quotes; quoted values may hold > and /",
         "<a href='a b' title=\"x>y/z\">t</a>",
         {"start a [href=a b title=x>y/z]", "text \"t\"", "end a"}},
        {"empty quoted value; attribute right after a closing quote",
         "<input value=\"\"id='k'>",
         {"start input [value= id=k]"}},
        {"unquoted value ended by / closes the tag",
         "<input value=abc/>x",
         {"start input [value=abc]", "end input"}},
        {"quoted values then />",
         "<input type=\"hidden\" />x<p>y</p>",
         {"start input [type=hidden]", "end input", "start p []", "text \"y\"", "end p"}},
        {"white space-only text is delivered unchanged",
         "<td>  </td>",
         {"start td []", "text \"  \"", "end td"}},
        {"names keep their case",
         "<TD Class=\"A\">v</Td>",
         {"start TD [Class=A]", "text \"v\"", "end Td"}},
        {"comment, declaration and processing instruction report nothing",
         "<?xml version=\"1.0\"?><!DOCTYPE html><!-- <td>x</td> --><p>k</p>",
         {"start p []", "text \"k\"", "end p"}},
        {"a comment may close right after its opening",
         "<!-->x<p>k</p>",
         {"start p []", "text \"k\"", "end p"}},
        {"text that precedes a construct ends the run",
         "<td>ab<!-- c -->de</td>",
         {"start td []", "text \"ab\"", "end td"}},
        {"multi-byte text before the next tag is kept",
         "<td>インターネット未接続</td>",
         {"start td []", "text \"インターネット未接続\"", "end td"}},
        {"markup after U+00D7 behind ASCII is found",
         "<td>1×2</td><td>x</td>",
         {"start td []", "text \"1×2\"", "end td", "start td []", "text \"x\"", "end td"}},
        {"markup after a stray continuation byte is found",
         "<td>a\x80z</td><p>q</p>",
         {"start td []", "text \"a\x80z\"", "end td", "start p []", "text \"q\"", "end p"}},
    };
    for (const TranscriptCase& c : cases) {
        SCOPED_TRACE(c.what);
        handlers_.events.clear();
        scanner_->Reset(handlers_);
        EXPECT_EQ(FeedLines(c.input), c.expected);
    }
}

TEST_F(MarkupScannerTest, CarriesTextRunsAndConstructsAcrossLines) {
    const std::vector<TranscriptCase> cases = {
        {"text on its own line stays pending, line break included, blanks before it skipped",
         "<td class=small_item_td2>\n   80%\n</td>\n",
         {"start td [class=small_item_td2]", "text \"80%\\n\"", "end td"}},
        {"text continuing on the next line arrives as one run",
         "<td>80% of\n  7 GB</td>\n",
         {"start td []", "text \"80% of\\n  7 GB\"", "end td"}},
        {"text that begins with a multi-byte character alone on its line is dropped",
         "<td class=small_item_td2>\nインターネット未接続\n</td>\n",
         {"start td [class=small_item_td2]", "text \"\"", "end td"}},
        {"comment over three lines hides its markup",
         "<p>a</p><!-- one\n<td>x</td>\n-->\n<p>b</p>\n",
         {"start p []", "text \"a\"", "end p", "start p []", "text \"b\"", "end p"}},
        {"declaration and processing instruction over two lines",
         "<!DOCTYPE html\n  PUBLIC>\n<?php\n echo ?>\n<p>b</p>\n",
         {"start p []", "text \"b\"", "end p"}},
        {"text after an end tag at the end of a line is dropped",
         "<p>a</p> tail\n<p>b</p>\n",
         {"start p []", "text \"a\"", "end p", "start p []", "text \"b\"", "end p"}},
        {"a start tag continued on the next line fails the page",
         "<input type=\"hidden\"\n value=\"x\">\n",
         {"error 4"}},
    };
    for (const TranscriptCase& c : cases) {
        SCOPED_TRACE(c.what);
        handlers_.events.clear();
        scanner_->Reset(handlers_);
        EXPECT_EQ(FeedLines(c.input), c.expected);
    }
}

TEST_F(MarkupScannerTest, ReturnsTheErrorOfAMalformedConstructAndReadsNoFurther) {
    struct ErrorCase {
        std::string chunk;  // fed as one chunk, exactly as written
        Transcript expected;
    };
    const std::vector<ErrorCase> cases = {
        {"<!-x><p>a</p>", {"error 1"}},   {"<p>a<!-", {"start p []", "text \"a\"", "error 1"}},
        {"</td\n", {"error 2"}},          {"abc</", {"error 2"}},
        {"<td\n", {"error 3"}},           {"<td>a<", {"start td []", "text \"a\"", "error 3"}},
        {"<td class\n", {"error 4"}},     {"<td class=\"x\"\n", {"error 4"}},
        {"<td class=\"x\"", {"error 4"}}, {"<td class=\"x\n", {"error 5"}},
        {"<td class='x\">", {"error 5"}}, {"<td class=\"", {"error 5"}},
        {"<td class=x\n", {"error 6"}},   {"<td class=", {"error 6"}},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.chunk);
        handlers_.events.clear();
        scanner_->Reset(handlers_);
        EXPECT_EQ(FeedChunks({c.chunk}), c.expected);
    }
}

// Cuts `input` into two chunks at every position in [first_cut, last_cut] and expects the same
// events as when it is fed whole.
void ExpectSameAtEveryCut(const std::string& input, std::size_t first_cut, std::size_t last_cut) {
    ASSERT_LE(last_cut, input.size());
    Transcript whole;
    {
        RecordingHandlers handlers;
        MarkupScanner scanner;
        scanner.Reset(handlers);
        Chunk chunk(input);
        ASSERT_EQ(scanner.ScanChunk(chunk.data.get(), chunk.length), kScanOk);
        whole = handlers.events;
    }
    for (std::size_t cut = first_cut; cut <= last_cut; ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        RecordingHandlers handlers;
        MarkupScanner scanner;
        scanner.Reset(handlers);
        Chunk head(input.substr(0, cut));
        Chunk tail(input.substr(cut));
        EXPECT_EQ(scanner.ScanChunk(head.data.get(), head.length), kScanOk);
        EXPECT_EQ(scanner.ScanChunk(tail.data.get(), tail.length), kScanOk);
        EXPECT_EQ(handlers.events, whole);
    }
}

TEST(MarkupScannerCutTest, CommentsDeclarationsAndInstructionsDoNotDependOnTheCut) {
    const std::string comment = "<p>a</p><!-- <td>x</td> - -- -> --><p>b</p>";
    ExpectSameAtEveryCut(comment, comment.find("<!--") + 4, comment.find("-->"));

    const std::string declaration = "<!DOCTYPE html PUBLIC \"-//W3C//DTD\"><p>b</p>";
    ExpectSameAtEveryCut(declaration, 2, declaration.find('>'));

    const std::string instruction = "<?xml version=\"1.0\" a='>'?><p>b</p>";
    ExpectSameAtEveryCut(instruction, 2, instruction.find("?>"));
}

TEST(MarkupScannerCutTest, TextRunsDoNotDependOnTheCutAfterTheirFirstPrintableByte) {
    const std::string value = "<td class=\"small_item_td2\">80% of 7 GB\r\n</td><p>z</p>";
    ExpectSameAtEveryCut(value, value.find("80%") + 1, value.find("</td>"));

    // Cut only at character boundaries: a cut inside a character loses its tail bytes.
    const std::string japanese = "<td>Aインターネット</td>";
    for (std::size_t cut = japanese.find('A') + 1; cut <= japanese.find("</td>"); cut += 3) {
        ExpectSameAtEveryCut(japanese, cut, cut);
    }
}

TEST_F(MarkupScannerTest, KeepsTheFirstFifteenPairsOfALongerAttributeList) {
    std::string tag = "<input";
    std::string expected_start = "start input [";
    for (int i = 0; i < 20; ++i) {
        const std::string name = std::string(1, 'a').append(std::to_string(i));
        const std::string value = std::string(1, 'v').append(std::to_string(i));
        const std::string quote = i % 2 == 0 ? "\"" : "";
        tag.append(" ").append(name).append("=").append(quote).append(value).append(quote);
        if (i < 15) {
            expected_start.append(i == 0 ? "" : " ").append(name).append("=").append(value);
        }
    }
    tag += ">after</input>";
    EXPECT_EQ(FeedLines(tag), (Transcript{expected_start + "]", "text \"after\"", "end input"}));

    // Exactly fifteen pairs all fit; the list is cleared for the next tag.
    handlers_.events.clear();
    std::string fifteen = "<p";
    for (int i = 0; i < 15; ++i) {
        fifteen += " k" + std::to_string(i) + "=" + std::to_string(i);
    }
    fifteen += "><br x=1 />";
    const Transcript events = FeedLines(fifteen);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_NE(events[0].find("k14=14]"), std::string::npos) << events[0];
    EXPECT_EQ(events[2], "start br [x=1]");
}

TEST_F(MarkupScannerTest, CutsTheTagNameAndThePendingTextAtTheirCapacity) {
    const std::string long_name(300, 'n');
    EXPECT_EQ(FeedLines("<" + long_name + ">x</" + long_name + ">"),
              (Transcript{"start " + long_name.substr(0, 127) + " []", "text \"x\"",
                          "end " + long_name.substr(0, 127)}));

    // Three 4000-byte lines carried over: the run keeps its first 8191 bytes.
    handlers_.events.clear();
    const std::string line = std::string(3999, 't') + "\n";
    const Transcript events = FeedChunks({"<td>\n", line, line, line, "</td>\n"});
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[1], "text \"" + Visible((line + line + line).c_str(), 8191) + "\"");
}

TEST_F(MarkupScannerTest, StopsSafelyAtEveryEndOfTrickyChunks) {
    // Every prefix, placed at the very end of an exact-size buffer without a terminator, in a
    // fresh scanner and in one that is collecting text; a sanitizer reports any over-read.
    const std::vector<std::string> inputs = {
        "<br /",
        "<input a=x/",
        "<input a=\"x\"/",
        "<td a=\"\xE6\x97",
        "<td>ab\xE6\x97",
        "<td>\xF0\x9F\x98",
        "<!--x--",
        "<?p?",
        "</td",
        "<p a='b' c=d e f=\"g\" />",
        "\xC3\x97<b>\xE3\x81\x82</b>",
    };
    for (const std::string& input : inputs) {
        for (std::size_t size = 0; size <= input.size(); ++size) {
            for (bool collecting : {false, true}) {
                SCOPED_TRACE(input.substr(0, size) + (collecting ? " (collecting)" : ""));
                RecordingHandlers handlers;
                auto scanner = std::make_unique<MarkupScanner>();
                scanner->Reset(handlers);
                if (collecting) {
                    Chunk opener("<td>");
                    ASSERT_EQ(scanner->ScanChunk(opener.data.get(), opener.length), kScanOk);
                }
                Chunk chunk(input.substr(0, size), /*terminated=*/false);
                const int result = scanner->ScanChunk(chunk.data.get(), chunk.length);
                EXPECT_TRUE(result >= kScanOk && result <= kScanUnquotedValueUnclosed);
            }
        }
    }

    // What the cut-off ends mean.
    EXPECT_EQ(FeedChunks({"<br /"}, false), (Transcript{"start br []", "end br"}));
    handlers_.events.clear();
    EXPECT_EQ(FeedChunks({"<td>ab\xE6\x97", "</td>"}, false),
              (Transcript{"start td []", "text \"ab\xE6\x97\"", "end td"}));
}

TEST_F(MarkupScannerTest, ResetForgetsAnOpenConstructAndPendingText) {
    FeedLines("<td>pending\n<!-- never closed\n");
    handlers_.events.clear();
    scanner_->Reset(handlers_);
    EXPECT_EQ(FeedLines("<p>a</p>\n"), (Transcript{"start p []", "text \"a\"", "end p"}));

    FeedLines("<td>pending\n");
    handlers_.events.clear();
    scanner_->Reset(handlers_);
    EXPECT_EQ(FeedLines("<p>a</p>\n"), (Transcript{"start p []", "text \"a\"", "end p"}));
}

// Best time of one scan of `bytes`, over rounds that each repeat the scan for a few
// milliseconds: the least disturbed round stands for the scanner, not for the machine's load.
double BestSecondsPerScan(const std::string& bytes) {
    using Clock = std::chrono::steady_clock;
    RecordingHandlers handlers;
    MarkupScanner scanner;
    Chunk chunk(bytes);
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        const Clock::time_point start = Clock::now();
        int scans = 0;
        std::chrono::duration<double> elapsed{};
        do {
            scanner.Reset(handlers);
            EXPECT_EQ(scanner.ScanChunk(chunk.data.get(), chunk.length), kScanOk);
            ++scans;
            elapsed = Clock::now() - start;
        } while (elapsed < std::chrono::milliseconds(5));
        best = std::min(best, elapsed.count() / scans);
    }
    return best;
}

// A long run without "<" (blank padding, Japanese text) costs time in proportion to its
// length: four times the run takes about four times as long, where a search for "<" begun
// again after every byte stepped over would take sixteen times as long.
TEST(MarkupScannerCostTest, GrowsLinearlyWithARunWithoutMarkup) {
    struct Run {
        const char* what;
        std::string unit;  // repeated to make the run
    };
    const Run runs[] = {
        {"blanks", " "},
        {"Japanese text", "\xE6\x97\xA5\xE6\x9C\xAC"},
        {"characters the search does not start at", "\xC3\x97 "},
    };
    constexpr std::size_t kShortRun = 4096;
    for (const Run& run : runs) {
        std::string short_run;
        while (short_run.size() < kShortRun) {
            short_run += run.unit;
        }
        std::string long_run;
        for (int i = 0; i < 4; ++i) {
            long_run += short_run;
        }
        // A printable byte ends each run, as text after padding would.
        long_run += "x\n";
        short_run += "x\n";
        const double ratio = BestSecondsPerScan(long_run) / BestSecondsPerScan(short_run);
        EXPECT_LT(ratio, 8.0) << run.what << ": four times the run took " << ratio
                              << " times as long";
    }
}

}  // namespace
}  // namespace lumora

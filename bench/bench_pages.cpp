// bench_pages.cpp: builds the benchmark pages from the committed fixture.
#include "bench/bench_pages.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>

#include "sim/euc_jp.h"

namespace quirn::bench {
namespace {

std::string ReadFixture(const char* name) {
    const std::string path = std::string(QUIRN_FIXTURE_DIR) + "/" + name;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        std::exit(2);
    }
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string Cut(const std::string& page, const char* from, const char* to) {
    const std::size_t start = from == nullptr ? 0 : page.find(from);
    const std::size_t end = to == nullptr ? page.size() : page.find(to);
    if (start == std::string::npos || end == std::string::npos || end < start) {
        std::fprintf(stderr, "the status page fixture lacks %s or %s\n", from, to);
        std::exit(2);
    }
    return page.substr(start, end - start);
}

std::string LargePageOf(std::size_t size) {
    const std::string& page = StatusPage();
    // Head up to the first section, the sections, and the form with the token and body end.
    const std::string head = Cut(page, nullptr, "<h2>");
    const std::string sections = Cut(page, "<h2>", "<form");
    const std::string tail = Cut(page, "<form", nullptr);
    std::string large = head;
    while (large.size() + sections.size() + tail.size() <= size) {
        large += sections;
    }
    large += tail;
    return large;
}

// About 80 characters a line, as a page's longer Japanese paragraphs are.
constexpr const char* kJapaneseSentences[] = {
    "本日は晴天なり。電池残量が少なくなっています。充電器に接続してください。",
    "インターネット利用可：無線ＬＡＮ。データ通信量の上限設定への到達度は十七・九％です。",
    "新ファームウェアへ更新可能です。更新中は電源を切らないでください（約五分）。",
    "電波状態は非常に強い。接続状態、動作モード、ハイスピードプラスエリアを確認しました。",
    "管理者パスワードの初期設定を行います。半角英数字で八文字以上を入力してください。",
    "圏外になりました。しばらくしてから再度お試しください。通信料金にご注意ください。",
};

std::string EucJp(const std::string& utf8) {
    std::optional<std::string> euc = sim::Utf8ToEucJp(utf8);
    if (!euc) {
        std::fprintf(stderr, "a benchmark text has no EUC-JP form\n");
        std::exit(2);
    }
    return *euc;
}

// The status page's head and sections once, `line` repeated while the page stays within
// kShapePageSize, and the page's tail; `before` and `after` open and close the filler.
std::string MakeShapePage(const std::string& line, const std::string& before = "",
                          const std::string& after = "") {
    const std::string& page = StatusPage();
    const std::string head = Cut(page, nullptr, "<form");
    const std::string tail = Cut(page, "<form", nullptr);
    std::string shaped = head + before;
    while (shaped.size() + line.size() + after.size() + tail.size() <= kShapePageSize) {
        shaped += line;
    }
    return shaped + after + tail;
}

std::string BlankPaddedRow() {
    std::string row = EucJp("<tr><td class=\"small_item_td\">電池残量</td>"
                            "<td class=\"small_item_td2\">80%</td></tr>");
    row.resize(4000 - 2, ' ');
    return row + "\r\n";
}

std::string JapaneseParagraphLine() {
    std::string line;
    for (std::size_t i = 0; line.size() < 2600; ++i) {
        line += EucJp(kJapaneseSentences[i % std::size(kJapaneseSentences)]);
    }
    return line + "\r\n";
}

std::string MakeNamedShape(const std::string& name) {
    if (name == "rows") {
        return LargePageOf(kShapePageSize);
    }
    if (name == "blank_runs") {
        return MakeShapePage(BlankPaddedRow());
    }
    if (name == "japanese_text") {
        return MakeShapePage(JapaneseParagraphLine(), "<p>\r\n", "</p>\r\n");
    }
    if (name == "short_tags") {
        return MakeShapePage("<tr><td><b>1</b><i>2</i><br/><span>3</span></td><td/></tr>\r\n");
    }
    std::fprintf(stderr, "no page shape %s\n", name.c_str());
    std::exit(2);
}

std::vector<std::string> MakeJapaneseLines() {
    std::vector<std::string> lines;
    std::size_t total = 0;
    for (std::size_t i = 0; total < 64 * 1024; ++i) {
        const std::size_t count = std::size(kJapaneseSentences);
        const std::string utf8 = std::string(kJapaneseSentences[i % count]) +
                                 kJapaneseSentences[(i + 1) % count] + "\r\n";
        std::optional<std::string> euc = sim::Utf8ToEucJp(utf8);
        if (!euc) {
            std::fprintf(stderr, "a benchmark sentence has no EUC-JP form\n");
            std::exit(2);
        }
        total += euc->size();
        lines.push_back(std::move(*euc));
    }
    return lines;
}

}  // namespace

const std::string& StatusPage() {
    static const std::string page = ReadFixture("status_page.html");
    return page;
}

const std::string& LargePage() {
    static const std::string page = LargePageOf(kLargePageSize);
    return page;
}

const std::string& ShapePage(const std::string& name) {
    static std::map<std::string, std::string> pages;
    auto found = pages.find(name);
    if (found == pages.end()) {
        found = pages.emplace(name, MakeNamedShape(name)).first;
    }
    return found->second;
}

const std::vector<std::string>& JapaneseLines() {
    static const std::vector<std::string> lines = MakeJapaneseLines();
    return lines;
}

std::size_t JapaneseBytes() {
    std::size_t total = 0;
    for (const std::string& line : JapaneseLines()) {
        total += line.size();
    }
    return total;
}

}  // namespace quirn::bench

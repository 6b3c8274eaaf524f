// bench_pages.h: the pages and texts the benchmarks and their checks work on, built once.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quirn::bench {

// The realistic status page as the router sends it (EUC-JP, CRLF line ends).
const std::string& StatusPage();

// A status page of about 100 KB: the realistic page's sections repeated, with one head, one
// session token and one body end, so it reads like the real page, only longer.
const std::string& LargePage();
inline constexpr std::size_t kLargePageSize = 100 * 1024;

// Pages of 1 MiB in the shapes a page can take, each a readable status page (head, sections,
// token, body end) whose body is filled with one kind of line:
//   rows           the status page's sections repeated, as LargePage() is
//   blank_runs     4,000-byte rows padded with blanks after their markup
//   japanese_text  a paragraph of Japanese text, 2,600 bytes of EUC-JP a line, no markup in it
//   short_tags     lines of many short tags and little text
// The names are the benchmarks' names for them; ShapePage exits on any other name.
inline constexpr const char* kPageShapes[] = {"rows", "blank_runs", "japanese_text", "short_tags"};
inline constexpr std::size_t kShapePageSize = 1024 * 1024;
const std::string& ShapePage(const std::string& name);

// EUC-JP lines of Japanese-heavy text (kanji and kana with a little ASCII), each zero-terminated
// and short enough for one converted line; about 64 KB in all.
const std::vector<std::string>& JapaneseLines();
// Bytes of JapaneseLines(), terminators not counted.
std::size_t JapaneseBytes();

}  // namespace quirn::bench

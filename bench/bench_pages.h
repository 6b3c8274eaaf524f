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

// EUC-JP lines of Japanese-heavy text (kanji and kana with a little ASCII), each zero-terminated
// and short enough for one converted line; about 64 KB in all.
const std::vector<std::string>& JapaneseLines();
// Bytes of JapaneseLines(), terminators not counted.
std::size_t JapaneseBytes();

}  // namespace quirn::bench

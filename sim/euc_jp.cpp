// euc_jp.cpp: the EUC-JP conversions over the C library's iconv.
#include "sim/euc_jp.h"

#include <iconv.h>

#include <cerrno>

namespace quirn::sim {
namespace {

std::optional<std::string> Convert(const char* to, const char* from, std::string_view text) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string out;
    // Both directions at most triple a text's length; one pass needs no growth.
    out.resize(text.size() * 3 + 16);
    char* in_ptr = const_cast<char*>(text.data());
    size_t in_left = text.size();
    char* out_ptr = out.data();
    size_t out_left = out.size();
    size_t done = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1) || in_left != 0) {
        return std::nullopt;
    }
    out.resize(out.size() - out_left);
    return out;
}

}  // namespace

std::optional<std::string> Utf8ToEucJp(std::string_view utf8, bool lenient) {
    return Convert(lenient ? "EUC-JP-MS//TRANSLIT" : "EUC-JP-MS", "UTF-8", utf8);
}

std::optional<std::string> EucJpToUtf8(std::string_view euc) {
    return Convert("UTF-8", "EUC-JP-MS", euc);
}

}  // namespace quirn::sim

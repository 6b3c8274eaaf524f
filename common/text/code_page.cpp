// code_page.cpp: the parts of the wide/narrow conversions both platforms share.
#include "common/text/code_page.h"

#include <cstdio>

namespace lumora {
namespace {

std::string DescribeFailure(const char* operation, uint32_t hresult) {
    char text[96];
    std::snprintf(text, sizeof text, "%s failed (HRESULT 0x%08X)", operation,
                  static_cast<unsigned>(hresult));
    return text;
}

}  // namespace

ConversionError::ConversionError(const char* operation, uint32_t hresult)
    : std::runtime_error(DescribeFailure(operation, hresult)), hresult_(hresult) {}

}  // namespace lumora

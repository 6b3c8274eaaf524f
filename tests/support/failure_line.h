// failure_line.h: checks that a failure wrote its own line and then the library's error line.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "common/library.h"

namespace lumora::testing_support {

// `log` holds `text` (none when empty) followed by "VOP_errno=N", and N is the last error.
inline ::testing::AssertionResult LoggedFailure(const std::string& log, const std::string& text,
                                                int number) {
    const std::size_t at = text.empty() ? 0 : log.find(text);
    if (at == std::string::npos) {
        return ::testing::AssertionFailure() << "no line \"" << text << "\" in:\n" << log;
    }
    const std::string error_line = "VOP_errno=" + std::to_string(number) + "\n";
    if (log.find(error_line, at) == std::string::npos) {
        return ::testing::AssertionFailure() << "no " << error_line << "after it in:\n" << log;
    }
    if (LastLibraryError() != number) {
        return ::testing::AssertionFailure() << "last error " << LastLibraryError();
    }
    return ::testing::AssertionSuccess();
}

}  // namespace lumora::testing_support

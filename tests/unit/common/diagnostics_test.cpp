#include "common/diagnostics.h"

#include <gtest/gtest.h>

#include "common/library_testing.h"

namespace lumora {
namespace {

TEST(Diagnostics, LibraryErrorLineNamesSourceLineAndNumber) {
    testing::internal::CaptureStdout();
    LogLibraryError(24, 812);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "QuirnWiMAXTools .\\common\\lumora_common(812) VOP_errno=24\n");
    EXPECT_EQ(lumora::LastLibraryError(), 24);
}

}  // namespace
}  // namespace lumora

// The connection label's model: the picture for each connection code.
#include "ui/display/connection_label.h"

#include <gtest/gtest.h>

#include <optional>

namespace quirn {
namespace {

TEST(ConnectionLabel, ShowsThePictureOfTheConnectionCode) {
    struct Case {
        int32_t code;
        std::optional<int> picture;
    };
    const Case cases[] = {
        {0, 221},
        {1, 336},
        {3, 338},
        {4, 337},
        {-1, 232},
        // Codes without a picture paint nothing.
        {-2, std::nullopt},
        {2, std::nullopt},
        {5, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code);
        EXPECT_EQ(ConnectionPicture(c.code), c.picture);
        ConnectionLabel label;
        label.SetCode(c.code);
        EXPECT_EQ(label.Code(), c.code);
        EXPECT_EQ(label.Picture(), c.picture);
    }
}

TEST(ConnectionLabel, StartsWithTheEmptyPicture) {
    ConnectionLabel label;
    EXPECT_EQ(label.Code(), -1);
    EXPECT_EQ(label.Picture(), 232);
}

}  // namespace
}  // namespace quirn

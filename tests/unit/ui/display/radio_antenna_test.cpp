// The signal antenna's model: picture for the inputs, the lookup errors and their fallback.
#include "ui/display/radio_antenna.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>

namespace quirn {
namespace {

TEST(RadioAntenna, ShowsThePictureForTheStatus) {
    struct Case {
        bool stale;
        int32_t code;
        int32_t level;
        int picture;
    };
    const Case cases[] = {
        {false, 3, 6, 177},
        {false, 3, 4, 184},
        {false, 1, 2, 182},
        {false, 4, 0, 180},
        {false, 3, 1, 181},
        {false, 3, 3, 183},
        {false, 3, 5, 185},
        // Connected without a radio level: the bare mast.
        {false, 3, -1, 180},
        // Unrecognised or unreported connections count as connected.
        {false, -1, 4, 184},
        {false, -2, 2, 182},
        // Not connected: the level is ignored.
        {false, 0, 4, 180},
        {false, 0, -1, 180},
        {false, 0, 9, 180},
        // Levels without a picture show the greyed antenna.
        {false, 3, 7, 178},
        {false, 3, -2, 178},
        // No information, whatever the level.
        {true, 3, 6, 178},
        {true, 0, 0, 178},
        {true, 3, 9, 178},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "stale " << c.stale << " code " << c.code << " level " << c.level);
        RadioAntenna antenna;
        antenna.SetStatus(c.stale, c.code, c.level);
        EXPECT_EQ(antenna.ChoosePicture(), c.picture);
    }
}

TEST(RadioAntenna, StartsWithNoInformation) {
    RadioAntenna antenna;
    EXPECT_EQ(antenna.ChoosePicture(), 178);
}

TEST(RadioAntenna, StaleStatusKeepsTheConnectionLastSeen) {
    RadioAntenna antenna;
    antenna.SetStatus(false, 3, 6);
    antenna.SetStatus(true, 0, 2);
    AntennaInputs inputs = antenna.Inputs();
    EXPECT_TRUE(inputs.no_information);
    EXPECT_TRUE(inputs.connected);
    EXPECT_EQ(inputs.level, 2);

    antenna.SetStatus(false, 0, 4);
    inputs = antenna.Inputs();
    EXPECT_FALSE(inputs.no_information);
    EXPECT_FALSE(inputs.connected);
}

// Each kind of lookup names its missing picture; drawing then falls back to the no-information
// picture, or to nothing without one.
TEST(RadioAntenna, MissingPicturesFallBackToTheNoInformationPicture) {
    struct Case {
        const char* name;
        std::map<int32_t, int> pictures;
        bool stale;
        int32_t code;
        int32_t level;
        std::string error;
        std::optional<int> drawn;
    };
    const std::map<int32_t, int> without_bare_mast = {{-1, 178}, {6, 177}};
    const Case cases[] = {
        {"no information, none",
         {{0, 180}, {6, 177}},
         true,
         3,
         6,
         "isFailed image not found.",
         std::nullopt},
        {"not connected", without_bare_mast, false, 0, 6, "Isn't connect image not found.", 178},
        {"connected, level -1", without_bare_mast, false, 3, -1, "Image not found.", 178},
        {"connected, level 7", StandardAntennaPictures(), false, 3, 7, "Image not found.", 178},
        {"connected, no fallback", {{0, 180}}, false, 3, 4, "Image not found.", std::nullopt},
        {"no pictures at all", {}, false, 0, 4, "Isn't connect image not found.", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RadioAntenna antenna(c.pictures);
        antenna.SetStatus(c.stale, c.code, c.level);
        try {
            antenna.LookUpPicture();
            ADD_FAILURE() << "the lookup found a picture";
        } catch (const std::out_of_range& error) {
            EXPECT_EQ(std::string(error.what()), c.error);
        }
        EXPECT_EQ(antenna.ChoosePicture(), c.drawn);
    }
}

TEST(RadioAntenna, LookUpFindsPicturesThatArePresent) {
    RadioAntenna antenna({{-1, 178}, {0, 180}});
    EXPECT_EQ(antenna.LookUpPicture(), 178);
    antenna.SetStatus(false, 1, -1);
    EXPECT_EQ(antenna.LookUpPicture(), 180);
}

}  // namespace
}  // namespace quirn

// radio_antenna.cpp: the antenna's choice of picture and its fallbacks.
#include "ui/display/radio_antenna.h"

#include <stdexcept>
#include <utility>

#include "res/resource.h"

namespace quirn {

std::map<int32_t, int> StandardAntennaPictures() {
    return {
        {kAntennaNoInformationKey, IDB_ANTENNA_NO_INFO},
        {kAntennaNoLevelKey, IDB_ANTENNA_0},
        {1, IDB_ANTENNA_1},
        {2, IDB_ANTENNA_2},
        {3, IDB_ANTENNA_3},
        {4, IDB_ANTENNA_4},
        {5, IDB_ANTENNA_5},
        {6, IDB_ANTENNA_6},
    };
}

RadioAntenna::RadioAntenna(std::map<int32_t, int> pictures) : pictures_(std::move(pictures)) {}

RadioAntenna::~RadioAntenna() = default;

void RadioAntenna::SetStatus(bool stale, int32_t connection_code, int32_t radio_level) {
    std::lock_guard lock(mutex_);
    inputs_.no_information = stale;
    if (!stale) {
        inputs_.connected = connection_code != 0;
    }
    inputs_.level = radio_level;
}

AntennaInputs RadioAntenna::Inputs() const {
    std::lock_guard lock(mutex_);
    return inputs_;
}

int RadioAntenna::LookUpPicture() const {
    return LookUpPicture(Inputs());
}

int RadioAntenna::LookUpPicture(const AntennaInputs& inputs) const {
    int32_t key = inputs.level == -1 ? kAntennaNoLevelKey : inputs.level;
    const char* missing = "Image not found.";
    if (inputs.no_information) {
        key = kAntennaNoInformationKey;
        missing = "isFailed image not found.";
    } else if (!inputs.connected) {
        key = kAntennaNoLevelKey;
        missing = "Isn't connect image not found.";
    }
    const auto found = pictures_.find(key);
    if (found == pictures_.end()) {
        throw std::out_of_range(missing);
    }
    return found->second;
}

std::optional<int> RadioAntenna::ChoosePicture() const {
    try {
        return LookUpPicture(Inputs());
    } catch (const std::out_of_range&) {
        // Any level the pictures do not cover shows the greyed antenna.
        const auto fallback = pictures_.find(kAntennaNoInformationKey);
        if (fallback == pictures_.end()) {
            return std::nullopt;
        }
        return fallback->second;
    }
}

}  // namespace quirn

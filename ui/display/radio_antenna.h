// radio_antenna.h: the signal antenna's model: its inputs and the picture it shows.
//
// The display refresh writes the inputs on a worker thread while the window's thread paints;
// the inputs are read and written under the model's lock.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>

namespace quirn {

// The antenna's inputs.
struct AntennaInputs {
    int32_t level = 0;           // radio level: -1 none, 0 to 6 bars
    bool connected = false;      // the router reports a connection code other than 0
    bool no_information = true;  // no usable status is available
};

// Picture key shown when no usable status is available, and the fallback for a missing one.
inline constexpr int32_t kAntennaNoInformationKey = -1;
// Picture key of the mast without bars: not connected, or connected without a radio level.
inline constexpr int32_t kAntennaNoLevelKey = 0;

// The antenna's pictures, picture key to bitmap resource id: -1 no information, 0 no level, 1
// to 6 the number of bars lit.
std::map<int32_t, int> StandardAntennaPictures();

class RadioAntenna {
  public:
    // `pictures` maps a picture key to its bitmap resource id; the control passes the pictures
    // it could load. Inputs: no information, not connected, level 0.
    explicit RadioAntenna(std::map<int32_t, int> pictures = StandardAntennaPictures());
    virtual ~RadioAntenna();
    RadioAntenna(const RadioAntenna&) = delete;
    RadioAntenna& operator=(const RadioAntenna&) = delete;

    // Sets the inputs from the shown status: a stale status only sets no information, keeping
    // the connection last seen; a usable one clears it and sets connected to (code != 0). The
    // level is taken either way.
    void SetStatus(bool stale, int32_t connection_code, int32_t radio_level);

    AntennaInputs Inputs() const;

    // The bitmap for the current inputs: key -1 without information, key 0 when not connected,
    // otherwise the key of the level (level -1 uses key 0). Throws std::out_of_range when there
    // is no picture for that key ("isFailed image not found.", "Isn't connect image not found."
    // or "Image not found." respectively).
    int LookUpPicture() const;

    // The bitmap to draw: `LookUpPicture`'s, or the no-information picture when that has none;
    // none when that is missing too (nothing is drawn).
    std::optional<int> ChoosePicture() const;

  private:
    int LookUpPicture(const AntennaInputs& inputs) const;

    const std::map<int32_t, int> pictures_;
    mutable std::mutex mutex_;
    AntennaInputs inputs_;
};

}  // namespace quirn

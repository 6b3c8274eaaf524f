// connection_label.h: the connection status label's model: which picture shows the way the
// router reaches the Internet.
//
// The code is written by the polling worker and read by the window's thread when it paints; it
// is a single atomic value, so no lock is needed.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <utility>

#include "res/resource.h"

namespace quirn {

// Connection code with an empty picture: an unrecognised connection, and what the label shows
// before the first status and while the router is out of reach.
inline constexpr int32_t kConnectionCodeUnknown = -1;

// The label's pictures by connection code, in the order the control loads them: 0 not
// connected, 3 LTE, 1 public wireless LAN, 4 3G, -1 unknown (an empty field). Bitmaps 200 x 20.
inline constexpr std::pair<int32_t, int> kConnectionPictures[] = {
    {0, IDB_CONNECT_OFFLINE}, {3, IDB_CONNECT_LTE},      {1, IDB_CONNECT_WLAN},
    {4, IDB_CONNECT_3G},      {-1, IDB_CONNECT_UNKNOWN},
};

// The bitmap for connection code `code`; none for a code without a picture (for example -2,
// not reported, or 2), for which the control paints nothing and the background shows through.
std::optional<int> ConnectionPicture(int32_t code);

class ConnectionLabel {
  public:
    virtual ~ConnectionLabel() = default;

    // Any thread.
    void SetCode(int32_t code) { code_.store(code); }
    int32_t Code() const { return code_.load(); }

    // The bitmap for the current code, as `ConnectionPicture`.
    std::optional<int> Picture() const { return ConnectionPicture(Code()); }

  private:
    std::atomic<int32_t> code_{kConnectionCodeUnknown};
};

}  // namespace quirn

// connection_label.cpp: the connection code's picture.
#include "ui/display/connection_label.h"

namespace quirn {

std::optional<int> ConnectionPicture(int32_t code) {
    for (const auto& [picture_code, picture] : kConnectionPictures) {
        if (picture_code == code) {
            return picture;
        }
    }
    return std::nullopt;
}

}  // namespace quirn

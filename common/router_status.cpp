#include "common/router_status.h"

namespace lumora {

RouterStatus FreshRouterStatus() {
    RouterStatus status{};
    status.battery_level = -2;
    status.battery_percent = -2;
    status.connection_code = -2;
    status.radio_level = -1;
    status.firmware_notice = 0;
    status.limit_reach = -1.0f;
    return status;
}

}  // namespace lumora

// router_library.cpp: the window's router interface over the library of common/.
#include "ui/logic/router_library.h"

#include "common/net/http_exchange.h"
#include "common/net/router_commands.h"

namespace quirn {
namespace {

class LumoraRouterLibrary : public RouterLibrary {
  public:
    lumora::RouterResult GetRouterInfo(int page_index, const char* host, const char* user,
                                       const char* password,
                                       lumora::RouterStatus& output) override {
        return lumora::GetRouterInfo(page_index, host, user, password, output);
    }
    lumora::RouterResult RunRouterCommand(const char* admin_password, const char* status_user,
                                          int command_index) override {
        return lumora::RunRouterCommand(admin_password, status_user, command_index);
    }
    lumora::RouterResult SetAdminPassword(const char* status_password, const char* new_password,
                                          const char* status_user) override {
        return lumora::SetAdminPassword(status_password, new_password, status_user);
    }
    lumora::RouterResult CheckConnection() override { return lumora::CheckConnection(); }
};

}  // namespace

std::shared_ptr<RouterLibrary> MakeLumoraRouterLibrary() {
    return std::make_shared<LumoraRouterLibrary>();
}

}  // namespace quirn

#include "web/update_check_api.h"

namespace velmora::web {

namespace {

UpdateCheckApi& ApiInUse() {
    static UpdateCheckApi api = SystemUpdateCheckApi();
    return api;
}

}  // namespace

const UpdateCheckApi& CurrentUpdateCheckApi() {
    return ApiInUse();
}

UpdateCheckApi SetUpdateCheckApiForTesting(const UpdateCheckApi& api) {
    const UpdateCheckApi previous = ApiInUse();
    ApiInUse() = api;
    return previous;
}

}  // namespace velmora::web

#include "camera/param_buf.h"

void fillParamBuffer(ZelLookSettings& settings, const std::vector<ZelColorConverter>& converters,
                     ZelSharedParamBuf&) {
    for (const ZelColorConverter& converter : converters) {
        settings.blockOrder.push_back({converter.typeCode, converter.instance});
    }
}

std::vector<BlockOrderEntry>& copyBlockOrder(const ZelLookSettings& settings,
                                             std::vector<BlockOrderEntry>& order) {
    order.clear();
    order.assign(settings.blockOrder.begin(), settings.blockOrder.end());
    return order;
}

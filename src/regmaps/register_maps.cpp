#include "regmaps/register_maps.h"

// The default register tables are added with the register maps.
void loadRegisterMaps(const ZelLookSettings&, ZelSharedIniBuf&) {}

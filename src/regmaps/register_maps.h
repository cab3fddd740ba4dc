#ifndef ZEL_REGMAPS_REGISTER_MAPS_H
#define ZEL_REGMAPS_REGISTER_MAPS_H

#include "camera/ini_buf.h"
#include "settings/look_settings.h"

// Copies the camera's default register tables that fit the job's generation mode,
// source, target and range into the register image.
void loadRegisterMaps(const ZelLookSettings& settings, ZelSharedIniBuf& iniBuf);

#endif  // ZEL_REGMAPS_REGISTER_MAPS_H

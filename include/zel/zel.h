#ifndef ZEL_ZEL_H
#define ZEL_ZEL_H

// The whole exported interface of the zel library.
#include "zel/camera_models.h"
#include "zel/enums.h"
#include "zel/errors.h"
#include "zel/export.h"
#include "zel/generator.h"
#include "zel/read_files.h"
#include "zel/records.h"
#include "zel/version.h"

#endif  // ZEL_ZEL_H

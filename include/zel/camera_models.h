#ifndef ZEL_CAMERA_MODELS_H
#define ZEL_CAMERA_MODELS_H

// The camera models the library makes look files for, and what a host needs to know of
// each to choose a job: plain, read-only data.

#include "zel/export.h"

struct ZelCameraModelInfo {
    const char* name;                // the model string of ZelGenInput::modelName
    int generation;                  // camera generation: 1 or 2
    bool standardLayoutFits;         // the standard job (ZelGenOutput) can hold its look
    bool extendedLayoutCarriesLook;  // the extended job's body holds the look's registers
    bool extendedIsDefault;          // the extended job is the model's usual look file
    int extendedMetadataBlocks;      // metadata blocks of its extended look file: 6 or 9
};

// The model whose name is `name` (exact, case-sensitive), or null for a model the library
// does not know or a null name. The record lives as long as the library.
ZEL_API const ZelCameraModelInfo* zel_find_camera_model(const char* name) noexcept;

// The known models in a fixed order: index 0 to count - 1; null past the end.
ZEL_API const ZelCameraModelInfo* zel_camera_model_at(int index) noexcept;

#endif  // ZEL_CAMERA_MODELS_H

#ifndef ZEL_CAMERA_MODELS_H
#define ZEL_CAMERA_MODELS_H

// The camera models the library makes look files for, and what a host needs to know of
// each to choose a job: plain, read-only data. Records live in the library and hosts only
// read them through a pointer, so later versions add members at the end and a host built
// against an older header reads the members it knows.

#include "zel/export.h"

struct ZelCameraModelInfo {
    const char* name;                // the model string of ZelGenInput::modelName
    int generation;                  // camera generation: 1 or 2
    bool standardLayoutFits;         // the standard job (ZelGenOutput) can hold its look
    bool extendedLayoutCarriesLook;  // the extended job's body holds the look's registers
    bool extendedIsDefault;          // the extended job is the model's usual look file
    int extendedMetadataBlocks;      // metadata blocks of its extended look file: 6 or 9
    // The room, in bytes, the model's look files give each text; a longer text is refused.
    int lookFileNameRoom;        // the look file's name, which names the look
    int noteRoom;                // look header note
    int lookTextRoom;            // free text of the look header
    int headerTextRoom;          // text of the file header
    int headerTagRoom;           // tag of the file header
    int secondNameRoom;          // second LUT name of a standard look file
    int extendedSecondNameRoom;  // second LUT name of its extended look file: 28 or 59
};

// The model whose name is `name` (exact, case-sensitive), or null for a model the library
// does not know or a null name. The record lives as long as the library.
ZEL_API const ZelCameraModelInfo* zel_find_camera_model(const char* name) noexcept;

// The known models in a fixed order: index 0 to count - 1; null past the end.
ZEL_API const ZelCameraModelInfo* zel_camera_model_at(int index) noexcept;

#endif  // ZEL_CAMERA_MODELS_H

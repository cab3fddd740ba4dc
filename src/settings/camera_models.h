#ifndef ZEL_SETTINGS_CAMERA_MODELS_H
#define ZEL_SETTINGS_CAMERA_MODELS_H

// The camera model table: every fact of a camera model that a stage needs, in one place.
// Stages ask it by model string; a model it does not know has no entry.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "zel/camera_models.h"

namespace zel {

// Camera generation modes.
constexpr std::int32_t kFirstGeneration = 0;
constexpr std::int32_t kSecondGeneration = 2;

// A read-only list of block numbers.
struct BlockNumbers {
    const std::int32_t* numbers;
    std::size_t count;

    const std::int32_t* begin() const { return numbers; }
    const std::int32_t* end() const { return numbers + count; }
};

struct CameraModel {
    ZelCameraModelInfo info;      // what a host sees of the model
    std::int32_t generationMode;  // kFirstGeneration or kSecondGeneration
    std::int32_t blockCount;      // block numbers per pass
    std::int32_t passCount;       // output passes the settings record; 0 means two
    BlockNumbers shortChain;      // processing blocks in chain order
    BlockNumbers longChain;       // the same with the long chain's second path
    // The block numbers each output pass takes from an earlier pass instead of writing.
    BlockNumbers reusedByPass[3];
    int registerColumn;  // which column of the register image's block sizes it uses
    // Its extended look file's metadata: mode, block count and name length (the second
    // name's is info.extendedSecondNameRoom).
    int metadataMode;
    int metadataBlocks;
    std::size_t metadataNameLength;
};

// Builds a table row field by field, each named, so that no row is a list of bare values.
class CameraModelBuilder {
  public:
    constexpr explicit CameraModelBuilder(const char* name) : model_() { model_.info.name = name; }

    // The model's generation: 1 (first) or 2 (second), its generation mode and block count.
    constexpr CameraModelBuilder& generation(int generation) {
        model_.info.generation = generation;
        model_.generationMode = generation == 1 ? kFirstGeneration : kSecondGeneration;
        return *this;
    }
    constexpr CameraModelBuilder& blockCount(std::int32_t count) {
        model_.blockCount = count;
        return *this;
    }
    constexpr CameraModelBuilder& passCount(std::int32_t count) {
        model_.passCount = count;
        return *this;
    }
    // What the standard and the extended job do with the model's look.
    constexpr CameraModelBuilder& layouts(bool standardFits, bool extendedCarriesLook,
                                          bool extendedIsDefault) {
        model_.info.standardLayoutFits = standardFits;
        model_.info.extendedLayoutCarriesLook = extendedCarriesLook;
        model_.info.extendedIsDefault = extendedIsDefault;
        return *this;
    }
    constexpr CameraModelBuilder& chains(BlockNumbers shortChain, BlockNumbers longChain) {
        model_.shortChain = shortChain;
        model_.longChain = longChain;
        return *this;
    }
    constexpr CameraModelBuilder& reusedByPass(BlockNumbers pass0, BlockNumbers pass1,
                                               BlockNumbers pass2) {
        model_.reusedByPass[0] = pass0;
        model_.reusedByPass[1] = pass1;
        model_.reusedByPass[2] = pass2;
        return *this;
    }
    constexpr CameraModelBuilder& registerColumn(int column) {
        model_.registerColumn = column;
        return *this;
    }
    // The extended look file's metadata: its mode, block count, the name's length and the
    // second name's room.
    constexpr CameraModelBuilder& extendedMetadata(int mode, int blocks, std::size_t nameLength,
                                                   int secondNameRoom) {
        model_.metadataMode = mode;
        model_.metadataBlocks = blocks;
        model_.info.extendedMetadataBlocks = blocks;
        model_.metadataNameLength = nameLength;
        model_.info.extendedSecondNameRoom = secondNameRoom;
        return *this;
    }
    // The rooms of the texts every look file has at the same place.
    constexpr CameraModelBuilder& textRooms(int lookFileName, int note, int lookText,
                                            int headerText, int headerTag, int secondName) {
        model_.info.lookFileNameRoom = lookFileName;
        model_.info.noteRoom = note;
        model_.info.lookTextRoom = lookText;
        model_.info.headerTextRoom = headerText;
        model_.info.headerTagRoom = headerTag;
        model_.info.secondNameRoom = secondName;
        return *this;
    }

    constexpr CameraModel build() const { return model_; }

  private:
    CameraModel model_;
};

// The model named `name` (exact, case-sensitive, the whole string), or null.
const CameraModel* findCameraModel(std::string_view name);

// The models in table order; null past the end.
const CameraModel* cameraModelAt(std::size_t index);

}  // namespace zel

#endif  // ZEL_SETTINGS_CAMERA_MODELS_H

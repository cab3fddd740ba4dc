#include "io/metadata_descriptor.h"

#include <cstring>
#include <stdexcept>
#include <string_view>

#include "io/metadata_catalogue.h"
#include "settings/camera_models.h"

namespace zel::io {

namespace {

// Builds a metadata text from pieces, never past its 64 bytes.
class TextBuilder {
  public:
    TextBuilder& text(const char* text) {
        return bytes(text, std::strlen(text), std::strlen(text));
    }

    // Exactly `count` bytes of a host field of `capacity` bytes, NUL bytes included.
    TextBuilder& bytes(const char* source, std::size_t capacity, std::size_t count) {
        if (count > capacity || count > result_.size() - length_) {
            throw std::out_of_range("metadata text longer than its field");
        }
        std::memcpy(result_.data() + length_, source, count);
        length_ += count;
        return *this;
    }

    MetadataText result() const { return result_; }

  private:
    MetadataText result_{};
    std::size_t length_ = 0;
};

constexpr const char* kLutNamePrefix = "LUT:";
constexpr std::size_t kLutNamePrefixLength = 4;
constexpr std::size_t kStandardNameBytes = 28;

}  // namespace

MetadataDescriptor metadataDescriptorFor(const char (&modelName)[34]) {
    const zel::CameraModel* model =
        zel::findCameraModel(std::string_view(modelName, strnlen(modelName, sizeof modelName)));
    if (model == nullptr) {
        return MetadataDescriptor{};
    }
    return MetadataDescriptor{model->metadataMode, model->metadataBlocks, model->metadataNameLength,
                              static_cast<std::size_t>(model->info.extendedSecondNameRoom)};
}

MetadataTexts standardMetadataTexts(const ZelGenInput& input) {
    MetadataTexts texts;
    texts.firstLutName =
        TextBuilder()
            .text(kLutNamePrefix)
            .bytes(input.lookHeaderNote, sizeof input.lookHeaderNote, kStandardNameBytes)
            .result();
    texts.secondLutName =
        TextBuilder()
            .text(kLutNamePrefix)
            .bytes(input.metadataName, sizeof input.metadataName, kStandardNameBytes)
            .result();
    texts.description =
        TextBuilder()
            .text("ZEL:")
            .bytes(input.lookFileName, sizeof input.lookFileName, kStandardNameBytes)
            .result();
    return texts;
}

MetadataTexts extendedMetadataTexts(const ZelGenInput& input,
                                    const MetadataDescriptor& descriptor) {
    MetadataTexts texts;
    texts.firstLutName = TextBuilder()
                             .text(kLutNamePrefix)
                             .bytes(input.lookHeaderNote, sizeof input.lookHeaderNote,
                                    descriptor.nameLength - kLutNamePrefixLength)
                             .result();
    texts.secondLutName = TextBuilder()
                              .text(kLutNamePrefix)
                              .bytes(input.metadataNameLong, sizeof input.metadataNameLong,
                                     descriptor.secondNameLength)
                              .result();
    if (const char* sourceCode = sourceCodeTextFor(input.sourceEncoding)) {
        const std::size_t prefixLength = std::strlen(sourceCode);
        texts.description = TextBuilder()
                                .text(sourceCode)
                                .bytes(input.lookFileName, sizeof input.lookFileName,
                                       descriptor.nameLength - prefixLength)
                                .result();
    }
    return texts;
}

}  // namespace zel::io

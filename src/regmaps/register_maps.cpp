#include "regmaps/register_maps.h"

#include <algorithm>
#include <array>

#include "camera/register_block.h"
#include "regmaps/lut_images.h"
#include "regmaps/register_tables.h"

namespace {

using namespace zel::regmaps;

template <typename T>
using BySource = std::array<const T*, 4>;

// The table for a selector, or none when the selector is out of range: a block whose
// choice depends on an out-of-range selector keeps what the register image held.
template <typename T, std::size_t N>
const T* choose(const std::array<const T*, N>& options, std::int32_t selector) {
    if (selector < 0 || static_cast<std::size_t>(selector) >= N) {
        return nullptr;
    }
    return options[static_cast<std::size_t>(selector)];
}

// Per-source choices. Sources 0 and 1 are the camera's own log encoding (two gamuts),
// 2 is ACEScc, 3 is ACEScct.
const BySource<MatrixPage> kInputMatrix = {&kMatrix0200Identity, &kMatrix0200Identity,
                                           &kMatrix0200M1, &kMatrix0200M1};
const BySource<MatrixPage> kSecondMatrix = {&kMatrix0200Identity, &kMatrix0200Identity,
                                            &kMatrix0200M2, &kMatrix0200M2};
const BySource<MatrixPage> kM2Always = {&kMatrix0200M2, &kMatrix0200M2, &kMatrix0200M2,
                                        &kMatrix0200M2};
const BySource<MatrixPage> kSourceGain = {&kGain0280For1102371, &kGain0280For1102371,
                                          &kGain0280For1134644, &kGain0280For1236954};
const BySource<MatrixPage> kThirdGain = {&kGain0280For1236954, &kGain0280For1236954,
                                         &kGain0280For1134644, &kGain0280For1236954};
const std::array<const MatrixPage*, 2> kRangeGain = {&kGain0240Identity, &kGain0240Legal};

const BySource<RegisterPage> kFirstLutControl = {&kLutControl0100Log, &kLutControl0100Log,
                                                 &kLutControl0100AcesCc, &kLutControl0100AcesCct};
const BySource<LutImage> kFirstLutImage = {&kLutImageLogFirst, &kLutImageLogFirst,
                                           &kLutImageAcesCcFirst, &kLutImageAcesCctFirst};
const BySource<LutImage> kSecondLutImage = {&kLutImageLogSecond, &kLutImageLogSecond,
                                            &kLutImageAcesCcSecond, &kLutImageAcesCctSecond};
// The third LUT group works in ACEScct unless the source is ACEScc.
const BySource<LutImage> kThirdLutImage = {&kLutImageAcesCctSecond, &kLutImageAcesCctSecond,
                                           &kLutImageAcesCcSecond, &kLutImageAcesCctSecond};
const BySource<RegisterPage> kSourceLutControl0A00 = {
    &kLutControl0A00Log, &kLutControl0A00Log, &kLutControl0A00AcesCc, &kLutControl0A00AcesCct};
const BySource<RegisterPage> kThirdLutControl0A00 = {
    &kLutControl0A00AcesCct, &kLutControl0A00AcesCct, &kLutControl0A00AcesCc,
    &kLutControl0A00AcesCct};

// Output curves 0 (Rec.709), 1 (PQ) and 2 (HLG): HDR outputs use Rec.2020 coefficients.
const std::array<const LumaChromaCoefficients*, 3> kFirstLumaChroma = {
    &kLumaChromaRec709, &kLumaChromaRec2020First, &kLumaChromaRec2020First};
const std::array<const LumaChromaCoefficients*, 3> kSecondLumaChroma = {
    &kLumaChromaRec709, &kLumaChromaRec2020Second, &kLumaChromaRec2020Second};

// Where a LUT image's head, data and tail go.
struct LutImageBlocks {
    int head;
    int data;
    int tail;
};

void loadPage(const RegisterPage* page, ZelSharedIniBuf& iniBuf, int block) {
    if (page != nullptr) {
        loadRegisterPage(*page, iniBuf.list(block));
    }
}

void loadMatrix(const MatrixPage* matrix, ZelSharedIniBuf& iniBuf, int block) {
    if (matrix != nullptr) {
        loadMatrixPage(*matrix, iniBuf.list(block));
    }
}

void loadLumaChroma(const LumaChromaLayout& layout, const LumaChromaCoefficients* coefficients,
                    std::int32_t range, ZelSharedIniBuf& iniBuf, int block) {
    if (coefficients != nullptr && (range == 0 || range == 1)) {
        loadLumaChromaPage(layout, *coefficients, range, iniBuf.list(block));
    }
}

// Overwrites destination entries in place, never more than the destination holds.
void copyEntries(const RegisterList& scratch, std::size_t first, std::size_t count,
                 RegisterList& destination) {
    const std::size_t available = first < scratch.size() ? scratch.size() - first : 0;
    const std::size_t n = std::min({count, available, destination.size()});
    std::copy_n(scratch.begin() + static_cast<std::ptrdiff_t>(first), n, destination.begin());
}

// Loads the image into the scratch list and splits it: three head entries, the data
// entries, two tail entries.
void loadLutImageInto(const LutImage* image, RegisterList& scratch, ZelSharedIniBuf& iniBuf,
                      const LutImageBlocks& blocks) {
    if (image == nullptr) {
        return;
    }
    const std::size_t count = loadLutImage(*image, scratch);
    const std::size_t dataCount = count - 5;
    copyEntries(scratch, 0, 3, iniBuf.list(blocks.head));
    copyEntries(scratch, 3, dataCount, iniBuf.list(blocks.data));
    copyEntries(scratch, 3 + dataCount, 2, iniBuf.list(blocks.tail));
}

namespace block = zel::block;

// The pages both generations load alike: the fixed tables, the LUT at 0180 and the first
// matrices of passes 0 and 1.
void loadCommonPages(std::int32_t source, ZelSharedIniBuf& iniBuf, RegisterList& scratch) {
    loadPage(&kTable0086, iniBuf, block::kTable0086);
    loadPage(&kTable0043, iniBuf, block::kTable0043);
    loadPage(&kLutControl0180, iniBuf, block::kLutControl0180);
    loadLutImageInto(
        &kLutImage0183, scratch, iniBuf,
        {block::kLutImage0183Head, block::kLutImage0183Data, block::kLutImage0183Tail});
    loadMatrix(choose(kInputMatrix, source), iniBuf, block::matrixPage(0, block::kMatrixSlotInput));
    loadMatrix(choose(kSecondMatrix, source), iniBuf,
               block::matrixPage(1, block::kMatrixSlotInput));
}

void loadFirstGeneration(const ZelLookSettings& settings, ZelSharedIniBuf& iniBuf,
                         RegisterList& scratch) {
    const std::int32_t source = settings.sourceEncoding;
    const std::int32_t range = settings.outputRange;
    const LumaChromaCoefficients* lumaChroma = choose(kFirstLumaChroma, settings.outputCurve);

    loadCommonPages(source, iniBuf, scratch);
    loadMatrix(choose(kRangeGain, range), iniBuf,
               block::matrixPage(0, block::kMatrixSlotRangeGain));
    loadPage(choose(kFirstLutControl, source), iniBuf, block::kLutControl0100);
    loadLutImageInto(choose(kFirstLutImage, source), scratch, iniBuf,
                     {block::kLutImageHead, block::kLutImageData, block::kLutImageTail});
    loadLumaChroma(kLumaChromaFirst, lumaChroma, range, iniBuf, block::kLumaChroma);
    loadMatrix(choose(kRangeGain, range), iniBuf, block::kSecondPathRangeGain);
    loadLumaChroma(kLumaChromaFirst, lumaChroma, range, iniBuf, block::kSecondPathLumaChroma);
}

void loadSecondGeneration(const ZelLookSettings& settings, ZelSharedIniBuf& iniBuf,
                          RegisterList& scratch) {
    const std::int32_t source = settings.sourceEncoding;
    const std::int32_t range = settings.outputRange;

    loadCommonPages(source, iniBuf, scratch);
    loadMatrix(choose(kM2Always, source), iniBuf, block::matrixPage(2, block::kMatrixSlotInput));
    loadMatrix(choose(kRangeGain, range), iniBuf,
               block::matrixPage(0, block::kMatrixSlotRangeGain));
    loadMatrix(choose(kSourceGain, source), iniBuf, block::matrixPage(0, block::kMatrixSlotGain));
    loadMatrix(choose(kSourceGain, source), iniBuf, block::matrixPage(1, block::kMatrixSlotGain));
    loadMatrix(choose(kThirdGain, source), iniBuf, block::matrixPage(2, block::kMatrixSlotGain));

    // Three LUT groups: control page, then the image split into head, data and tail.
    for (int pass = 0; pass < 3; ++pass) {
        const int shift = pass * block::kLutBlocksPerPass;
        loadPage(&kLutControl0100Second, iniBuf, block::kLutControl0100 + shift);
        loadLutImageInto(choose(pass < 2 ? kSecondLutImage : kThirdLutImage, source), scratch,
                         iniBuf,
                         {block::kLutImageHead + shift, block::kLutImageData + shift,
                          block::kLutImageTail + shift});
    }

    loadLumaChroma(kLumaChromaSecond, choose(kSecondLumaChroma, settings.outputCurve), range,
                   iniBuf, block::kLumaChroma);
    for (int pass = 0; pass < 3; ++pass) {
        loadPage(choose(pass < 2 ? kSourceLutControl0A00 : kThirdLutControl0A00, source), iniBuf,
                 block::kLutControl0A00 + pass);
    }
}

}  // namespace

void loadRegisterMaps(const ZelLookSettings& settings, ZelSharedIniBuf& iniBuf) {
    RegisterList scratch;
    if (settings.generationMode == zel::kFirstGeneration) {
        loadFirstGeneration(settings, iniBuf, scratch);
    } else if (settings.generationMode == zel::kSecondGeneration) {
        loadSecondGeneration(settings, iniBuf, scratch);
    }
}

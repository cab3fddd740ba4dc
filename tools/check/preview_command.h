#ifndef ZELGEN_PREVIEW_COMMAND_H
#define ZELGEN_PREVIEW_COMMAND_H

// `zelgen preview`: a PNG that shows at a glance whether the camera renders the look. A
// synthetic chart (grey ramp, hue sweeps at three saturations and three exposures, the
// reference colours as patches) or the user's own frame is shown three times, each
// labelled: as the source look renders it, as the camera's decoded blocks render it, and
// their difference amplified ten times, with the place of the largest difference marked.
// It shows one pass of the look file, labelled with the input space it reads: the pass asked
// for, else for a frame the pass that reads the look's own encoding and gamut, else the pass
// where the camera departs most from the look. The pictures show the output code values as
// they are.

#include <string>

namespace zelgen {

// Exit status: 0 written, 1 the look file, the look or the image could not be used.
// `pass` -1 chooses the pass as above.
int runPreview(const std::string& lookFile, const std::string& sourceLook,
               const std::string& output, const std::string& image, int pass = -1);

}  // namespace zelgen

#endif  // ZELGEN_PREVIEW_COMMAND_H

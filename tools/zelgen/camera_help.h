#ifndef ZELGEN_CAMERA_HELP_H
#define ZELGEN_CAMERA_HELP_H

// What zelgen's help says of the camera models, written from the library's model table so
// that a model is named in one place only.

#include <string>
#include <vector>

namespace zelgen {

// The model names --camera accepts, in the table's order.
std::vector<std::string> cameraNames();

// make's examples, one per line, each naming a model.
std::string makeExamples();

// The --job line of make's footer: which layout each model takes by default and which
// layouts carry no look.
std::string jobHelp();

// The room of each text, two lines; --second-name's with the models whose extended files
// give it more.
std::string textRoomsHelp();

}  // namespace zelgen

#endif  // ZELGEN_CAMERA_HELP_H

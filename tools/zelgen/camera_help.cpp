#include "zelgen/camera_help.h"

#include <functional>

#include "zel/camera_models.h"

namespace zelgen {

namespace {

using ModelTest = std::function<bool(const ZelCameraModelInfo&)>;

std::vector<const ZelCameraModelInfo*> modelsWhere(const ModelTest& test) {
    std::vector<const ZelCameraModelInfo*> models;
    for (int i = 0; const ZelCameraModelInfo* model = zel_camera_model_at(i); ++i) {
        if (test(*model)) {
            models.push_back(model);
        }
    }
    return models;
}

// "A", "A and B", "A, B and C".
std::string listOf(const std::vector<const ZelCameraModelInfo*>& models) {
    std::string list;
    for (std::size_t i = 0; i < models.size(); ++i) {
        if (i > 0) {
            list += i + 1 == models.size() ? " and " : ", ";
        }
        list += models[i]->name;
    }
    return list;
}

std::string nameOf(const std::vector<const ZelCameraModelInfo*>& models) {
    return models.empty() ? std::string() : std::string(models.front()->name);
}

}  // namespace

std::vector<std::string> cameraNames() {
    std::vector<std::string> names;
    for (const ZelCameraModelInfo* model :
         modelsWhere([](const ZelCameraModelInfo&) { return true; })) {
        names.emplace_back(model->name);
    }
    return names;
}

std::string makeExamples() {
    const auto all = modelsWhere([](const ZelCameraModelInfo&) { return true; });
    const auto extended =
        modelsWhere([](const ZelCameraModelInfo& model) { return model.extendedIsDefault; });
    if (all.empty()) {
        return "";
    }
    return "  zelgen make Day_Ext.cube -o Day_Ext.zel --camera " + nameOf(all) +
           "\n"
           "  zelgen make Night.cube -o Night.zel --camera " +
           nameOf(extended.empty() ? all : extended) +
           " --output pq --range legal\n"
           "  zelgen make looks/*.cube --out-dir cards/ --camera " +
           std::string(all.back()->name) + "\n";
}

std::string jobHelp() {
    const auto standard =
        modelsWhere([](const ZelCameraModelInfo& model) { return !model.extendedIsDefault; });
    const auto extended =
        modelsWhere([](const ZelCameraModelInfo& model) { return model.extendedIsDefault; });
    const auto needExtended =
        modelsWhere([](const ZelCameraModelInfo& model) { return !model.standardLayoutFits; });
    const auto noLook = modelsWhere(
        [](const ZelCameraModelInfo& model) { return !model.extendedLayoutCarriesLook; });
    return "  --job      standard for " + listOf(standard) + ", extended for " + listOf(extended) +
           " unless given;\n"
           "             " +
           listOf(needExtended) +
           " looks need the extended layout, and the extended layout of\n"
           "             " +
           listOf(noLook) + " carries no look data\n";
}

std::string textRoomsHelp() {
    const auto all = modelsWhere([](const ZelCameraModelInfo&) { return true; });
    if (all.empty()) {
        return "";
    }
    const ZelCameraModelInfo& first = *all.front();
    const auto longer = modelsWhere([&first](const ZelCameraModelInfo& model) {
        return model.extendedSecondNameRoom > first.secondNameRoom;
    });
    std::string help = "  look file name (from -o) " + std::to_string(first.lookFileNameRoom) +
                       ", --note " + std::to_string(first.noteRoom) + ", --look-text " +
                       std::to_string(first.lookTextRoom) + ", --header-text " +
                       std::to_string(first.headerTextRoom) + ",\n  --header-tag " +
                       std::to_string(first.headerTagRoom) + ", --second-name " +
                       std::to_string(first.secondNameRoom);
    if (!longer.empty()) {
        help += " (" + std::to_string(longer.front()->extendedSecondNameRoom) + " in extended " +
                listOf(longer) + " files)";
    }
    return help + ".\n";
}

}  // namespace zelgen

#include "zel/camera_models.h"

#include "settings/camera_models.h"

const ZelCameraModelInfo* zel_find_camera_model(const char* name) noexcept {
    if (name == nullptr) {
        return nullptr;
    }
    const zel::CameraModel* model = zel::findCameraModel(name);
    return model != nullptr ? &model->info : nullptr;
}

const ZelCameraModelInfo* zel_camera_model_at(int index) noexcept {
    if (index < 0) {
        return nullptr;
    }
    const zel::CameraModel* model = zel::cameraModelAt(static_cast<std::size_t>(index));
    return model != nullptr ? &model->info : nullptr;
}

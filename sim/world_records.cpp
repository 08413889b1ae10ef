#include "world_records.h"

#include <algorithm>

namespace sim {

void Records::setTimeScale(float scale) {
    timeScale_ = scale;
    timeScales_.push_back({frame_, scale});
}

void Records::hintCamera(Vec3 point, const int32_t timings[4]) {
    CameraHint& hint = cameraHints_.emplace_back();
    hint.frame = frame_;
    hint.point = point;
    std::copy(timings, timings + 4, hint.timings);
}

}  // namespace sim

// What the script asked of the world's screen and camera, as the world recorded it frame by
// frame: the time scale, fades, the camera hint and its field of view, and the markers drawn
// in the current frame.
#pragma once

#include <cstdint>
#include <vector>

#include "recycled.h"
#include "vec3.h"

namespace sim {

struct FadeEvent {
    int64_t frame = 0;
    bool fadeIn = false;
    int32_t durationMs = 0;
};

struct ValueEvent {
    int64_t frame = 0;
    float value = 0.0f;
};

struct CameraHint {
    int64_t frame = 0;
    Vec3 point;
    int32_t timings[4] = {};
};

// A marker drawn for one frame.
struct Marker {
    int32_t type = 0;
    Vec3 position, direction, rotation, scale;
    int32_t colour[4] = {};  // red, green, blue, alpha
    bool bobs = false;
    bool facesCamera = false;
    int32_t rotationOrder = 0;
    bool rotates = false;
    bool textured = false;
};

// Game time runs at this scale unless the script slows it.
constexpr float kNormalTimeScale = 1.0f;

class Records {
public:
    explicit Records(const int64_t& frame) : frame_(frame) {}
    Records(const Records&) = delete;
    Records& operator=(const Records&) = delete;

    // A new frame starts with no markers drawn.
    void beginFrame() { markers_.clear(); }

    void setTimeScale(float scale);
    float timeScale() const { return timeScale_; }
    void fade(bool fadeIn, int32_t durationMs) { fades_.push_back({frame_, fadeIn, durationMs}); }
    void hintCamera(Vec3 point, const int32_t timings[4]);
    void setHintFov(float fov) { hintFovs_.push_back({frame_, fov}); }
    const std::vector<ValueEvent>& timeScales() const { return timeScales_; }
    const std::vector<FadeEvent>& fades() const { return fades_; }
    const std::vector<CameraHint>& cameraHints() const { return cameraHints_; }
    const std::vector<ValueEvent>& hintFovs() const { return hintFovs_; }

    // Markers drawn this frame.
    void drawMarker(const Marker& marker) { markers_.add() = marker; }
    const Recycled<Marker>& markers() const { return markers_; }

private:
    const int64_t& frame_;
    float timeScale_ = kNormalTimeScale;
    std::vector<ValueEvent> timeScales_;
    std::vector<FadeEvent> fades_;
    std::vector<CameraHint> cameraHints_;
    std::vector<ValueEvent> hintFovs_;
    Recycled<Marker> markers_;
};

}  // namespace sim

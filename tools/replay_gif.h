// An animated replay of a level: the screen as the plug-in drew it over the scene from above,
// a picture every few frames, encoded as a GIF by giflib. Only the part of a picture that
// changed since the last one is stored, with a palette of its own (its most used colours
// exactly, a colour cube for the rest), so that a whole Level 1 stays a few megabytes.
#pragma once

#include <gif_lib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "screenshot.h"

namespace render {

class GifReplay {
public:
    // A picture every `every` host frames (60 a second), width x height pixels.
    static constexpr int kEvery = 6;
    static constexpr int kWidth = 480;
    static constexpr int kHeight = 270;

    // Opens the file; throws std::runtime_error when it cannot.
    explicit GifReplay(const std::string& path);
    ~GifReplay();
    GifReplay(const GifReplay&) = delete;
    GifReplay& operator=(const GifReplay&) = delete;

    // Whether the host's frame becomes a picture: every kEvery-th does.
    static bool takes(int64_t hostFrame) { return hostFrame % kEvery == 0; }
    // The next picture: the screen over the backdrop.
    void picture(const sim::Screen& screen, const Backdrop& backdrop);
    // Writes the end of the file; throws std::runtime_error when it cannot.
    void finish();
    int pictures() const { return pictures_; }

private:
    void put(const std::vector<uint32_t>& picture);
    void fail(const char* what, int error) const;

    std::string path_;
    GifFileType* gif_ = nullptr;
    std::vector<uint32_t> last_;
    int pictures_ = 0;
};

}  // namespace render

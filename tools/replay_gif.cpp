#include "replay_gif.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <unordered_map>
#include <utility>

namespace render {

namespace {

// Each picture's palette: the colours it uses most, exactly (the scene's and the HUD's flat
// colours), and a 6 x 6 x 6 colour cube for the rest (edges, gradients, blends).
constexpr int kExact = 40;
constexpr int kCubeLevels = 6;
constexpr int kDelayCentiseconds = GifReplay::kEvery * 100 / 60;

GifColorType colourOf(uint32_t pixel) {
    return {static_cast<GifByteType>(pixel >> 16 & 0xFF), static_cast<GifByteType>(pixel >> 8 & 0xFF),
            static_cast<GifByteType>(pixel & 0xFF)};
}

GifByteType cubeIndex(uint32_t pixel) {
    const GifColorType colour = colourOf(pixel);
    const auto step = [](int value) { return (value * (kCubeLevels - 1) + 127) / 255; };
    return static_cast<GifByteType>(kExact + step(colour.Red) * 36 + step(colour.Green) * 6 + step(colour.Blue));
}

}  // namespace

GifReplay::GifReplay(const std::string& path) : path_(path) {
    // Made as any file of ours is (giflib's own open would make it readable by its owner only).
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor < 0) throw std::runtime_error("cannot create " + path + ": " + std::strerror(errno));
    int error = 0;
    gif_ = EGifOpenFileHandle(descriptor, &error);
    if (gif_ == nullptr) {
        ::close(descriptor);
        fail("cannot create", error);
    }
    EGifSetGifVersion(gif_, true);
    // Each picture brings its own palette.
    if (EGifPutScreenDesc(gif_, kWidth, kHeight, 8, 0, nullptr) == GIF_ERROR) fail("cannot write", gif_->Error);
    // Played over and over.
    const GifByteType loop[] = {1, 0, 0};
    if (EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif_, 11, "NETSCAPE2.0") == GIF_ERROR || EGifPutExtensionBlock(gif_, 3, loop) == GIF_ERROR ||
        EGifPutExtensionTrailer(gif_) == GIF_ERROR) {
        fail("cannot write", gif_->Error);
    }
}

GifReplay::~GifReplay() {
    if (gif_ != nullptr) EGifCloseFile(gif_, nullptr);
}

void GifReplay::fail(const char* what, int error) const {
    throw std::runtime_error(std::string(what) + " " + path_ + ": " + GifErrorString(error));
}

void GifReplay::picture(const sim::Screen& screen, const Backdrop& backdrop) {
    // The picture as a screenshot draws it, made smaller.
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_t* cairo = cairo_create(surface);
    cairo_scale(cairo, static_cast<double>(kWidth) / render::kWidth, static_cast<double>(kHeight) / render::kHeight);
    if (backdrop) backdrop(cairo, render::kWidth, render::kHeight);
    drawScreen(cairo, screen, render::kWidth, render::kHeight);
    cairo_surface_flush(surface);
    std::vector<uint32_t> picture(static_cast<std::size_t>(kWidth) * kHeight);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < kHeight; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < kWidth; ++x) picture[static_cast<std::size_t>(y) * kWidth + x] = row[x] & 0xFFFFFF;
    }
    cairo_destroy(cairo);
    cairo_surface_destroy(surface);
    put(picture);
}

void GifReplay::put(const std::vector<uint32_t>& picture) {
    // The smallest rectangle that holds every pixel changed since the last picture.
    int left = 0, top = 0, right = kWidth - 1, bottom = kHeight - 1;
    if (!last_.empty()) {
        left = kWidth, top = kHeight, right = -1, bottom = -1;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const std::size_t at = static_cast<std::size_t>(y) * kWidth + x;
                if (picture[at] == last_[at]) continue;
                left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
        if (right < 0) left = top = right = bottom = 0;  // nothing changed: one pixel, as it was
    }
    const int width = right - left + 1;
    const int height = bottom - top + 1;
    const auto pixel = [&](int x, int y) { return picture[static_cast<std::size_t>(top + y) * kWidth + left + x]; };

    // The rectangle's palette: its most used colours exactly, then the cube.
    std::unordered_map<uint32_t, int> uses;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) ++uses[pixel(x, y)];
    }
    std::vector<std::pair<int, uint32_t>> byUse;
    for (const auto& [colour, count] : uses) byUse.push_back({-count, colour});
    const std::size_t exact = std::min<std::size_t>(kExact, byUse.size());
    std::partial_sort(byUse.begin(), byUse.begin() + static_cast<std::ptrdiff_t>(exact), byUse.end());
    ColorMapObject* palette = GifMakeMapObject(256, nullptr);
    std::unordered_map<uint32_t, GifByteType> exactIndex;
    for (std::size_t index = 0; index < kExact; ++index) {
        const uint32_t colour = index < exact ? byUse[index].second : 0;
        palette->Colors[index] = colourOf(colour);
        if (index < exact) exactIndex[colour] = static_cast<GifByteType>(index);
    }
    for (int index = 0; index < kCubeLevels * kCubeLevels * kCubeLevels; ++index) {
        const auto level = [](int step) { return static_cast<GifByteType>(step * 255 / (kCubeLevels - 1)); };
        palette->Colors[kExact + index] = {level(index / 36), level(index / 6 % 6), level(index % 6)};
    }

    GraphicsControlBlock control{DISPOSE_DO_NOT, false, kDelayCentiseconds, NO_TRANSPARENT_COLOR};
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    const bool described = EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, 4, extension) != GIF_ERROR &&
                           EGifPutImageDesc(gif_, left, top, width, height, false, palette) != GIF_ERROR;
    GifFreeMapObject(palette);
    if (!described) fail("cannot write", gif_->Error);
    std::vector<GifByteType> line(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto found = exactIndex.find(pixel(x, y));
            line[static_cast<std::size_t>(x)] = found != exactIndex.end() ? found->second : cubeIndex(pixel(x, y));
        }
        if (EGifPutLine(gif_, line.data(), width) == GIF_ERROR) fail("cannot write", gif_->Error);
    }
    last_ = picture;
    ++pictures_;
}

void GifReplay::finish() {
    int error = 0;
    const int closed = EGifCloseFile(gif_, &error);
    gif_ = nullptr;
    if (closed == GIF_ERROR) fail("cannot finish", error);
}

}  // namespace render

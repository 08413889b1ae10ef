// The first program to read: the plug-in loaded into the simulated host, a few seconds of
// frames with the menu opened by F9, what the plug-in drew on the last one, and the same
// frames again in the host's null mode.
//
//   build/linux/examples/null-host [FRAMES]      (default 120: two seconds of game time)
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host.h"
#include "temporary_folder.h"
#include "virtual_keys.h"

int main(int argc, char** argv) {
    constexpr const char* kUsage = "usage: null-host [FRAMES]  (2 or more; default 120)\n";
    if (argc > 1 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const int frames = argc > 1 ? std::atoi(argv[1]) : 120;
    if (frames < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    // The settings file is written to a fresh folder, not to the current directory.
    sim::TemporaryFolder gameFolder;
    sim::Host host;
    host.setGameDirectory(gameFolder.path());
    host.setStartTick(100000);  // past the key lockout of a freshly loaded module
    host.load();                // the module entry: the plug-in registers its script

    // Full mode: the simulated game answers every native, and the screen is captured.
    // F9 is held during the second frame.
    for (int frame = 0; frame < frames; ++frame) {
        host.setKey(vk::F9, frame == 1);
        host.runFrame();
    }
    const int64_t fullCalls = host.nativeCalls();

    std::printf("Frame %lld, what the plug-in drew:\n", static_cast<long long>(host.frame()));
    for (const sim::ScreenText& text : host.screen().texts)
        std::printf("  text at (%.3f, %.3f): %s\n", text.x, text.y, text.text.c_str());
    for (const sim::ScreenRect& rect : host.screen().rects)
        std::printf("  rectangle at (%.3f, %.3f), %.3f x %.3f, colour %d %d %d %d\n", rect.x, rect.y, rect.width,
                    rect.height, rect.colour.r, rect.colour.g, rect.colour.b, rect.colour.a);
    std::printf("  and %zu native calls\n", host.calls().size());

    // Null mode: each native answers what it last answered above, at the cost of the call
    // alone; nothing is logged or drawn, and the world stands still.
    host.setNullMode(true);
    host.runFrames(frames);
    const int64_t nullCalls = host.nativeCalls() - fullCalls;

    std::printf("Native calls in %d frames: full mode %lld (%.1f a frame), null mode %lld (%.1f a frame)\n",
                frames, static_cast<long long>(fullCalls), static_cast<double>(fullCalls) / frames,
                static_cast<long long>(nullCalls), static_cast<double>(nullCalls) / frames);
    return 0;
}

// A restart of the script function: the game loaded (a save, or a reload after a replay), and
// the host called the script again on a fresh fibre. The fibre before never runs again,
// wherever it waited; the module's data is kept, but every entity of the world before is
// gone and its handle may now name another. The restarted script starts clean.
#pragma once

#include <cstdint>

// What the script before left, noted before the mod state is reset.
struct LeftBehind {
    bool timeScaleChanged = false;
    bool screenFadedOut = false;
    bool cuePlaying = false;  // a cue started less than 3 s ago
    // The encounter ran with the helicopter's health gone: a win cut short, to be credited.
    bool levelWon = false;
    int32_t level = 0;
    float score = 0.0f;
    float best = 0.0f;
    bool bestKnown = false;
};

// Notes what was left, then resets the mod state to its initial values except what must
// carry over: what the progress rules keep about the settings file, the probes' counts, the
// keys' lockout and the started mark. No handle obtained before survives: each is forgotten,
// not released.
LeftBehind resetForRestart();
// Undoes, in the restarted script's first frame before its first wait, what was left: time
// scale and camera hint back to 1.0, the screen faded in, the cues stopped; nothing more.
void undoLeftBehind(const LeftBehind& left);
// Credits a win the reload cut short, once the first load has run: the won sequence's
// credit from the noted level, score and best, with no native given the old helicopter.
void creditLeftWin(const LeftBehind& left);

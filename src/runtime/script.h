// The script: module entry, the endless frame loop and the per-frame dispatch.
#pragma once

// Registered with ScriptHookV, and called again at each game reload; seeds the random
// generator, loads the settings and never returns.
void scriptMain();
// The endless frame loop: a frame, then a wait for the next.
void runFrameLoop();
// One round of the frame loop without its wait: the floating message, then the dispatch.
void runScriptFrame();
void dispatchFrame();

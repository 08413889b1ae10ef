// The script: module entry, the endless frame loop and the per-frame dispatch.
#pragma once

// Registered with ScriptHookV; seeds the random generator and never returns.
void scriptMain();
void runFrameLoop();
// One round of the frame loop without its wait: the floating message, then the dispatch.
void runScriptFrame();
void dispatchFrame();

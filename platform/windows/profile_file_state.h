// What a failed shared open of the settings file says of it: no file, or no folder (a path
// through a regular file among them), is a missing file; anything else (a sharing violation,
// a folder in the file's place) leaves the file unreadable. The Windows backend judges by it,
// and so does the stand-in ScriptHookV that runs the .asi under Wine.
#pragma once

#include <windows.h>

#include "seam.h"

inline ProfileFileState profileFileStateAfter(DWORD openError) {
    return openError == ERROR_FILE_NOT_FOUND || openError == ERROR_PATH_NOT_FOUND ? ProfileFileState::Missing
                                                                                  : ProfileFileState::Unreadable;
}

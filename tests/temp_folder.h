// A fresh folder for one test, removed with all it holds when the test ends: tests never
// touch the real current directory.
#pragma once

#include "temporary_folder.h"

struct TempFolder : sim::TemporaryFolder {
    TempFolder() : TemporaryFolder("rotorstrike-test") {}
};

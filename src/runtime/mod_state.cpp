#include "runtime/mod_state.h"

ModState mod;

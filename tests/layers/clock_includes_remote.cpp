// Compiled as part of the clock's layer: the network's side is above it, so this include must not be found.
#include "remote/state_json.h"

// Compiled as part of the clock's layer: the settings store is below it, so this include is found.
#include "store/run_of_show.h"

// The defaults are all in the header; this unit keeps the library non-empty
// until the engine's own sources arrive.
#include "htmlview/style/view_defaults.h"

// Placeholder until this source is written.
#include "cube/facelet_string.h"

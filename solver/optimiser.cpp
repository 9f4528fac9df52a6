// Placeholder until this source is written.
#include "solver/stage_support.h"

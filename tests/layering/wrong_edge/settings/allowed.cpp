// An allowed edge beside the wrong one.
#include "platform/numbers.h"

// A video file that reaches up into the show: the layering check must refuse it.
#include "show/tile_grid.h"

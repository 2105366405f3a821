// A reader reaching into the scratch file: the two meet only in the layers above them.
#include "scratch/scratch_file_win32.h"

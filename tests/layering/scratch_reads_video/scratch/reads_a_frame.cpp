// The scratch-file side reaching into a reader: the two meet only in the layers above them.
#include "video/avi_frame_reader_win32.h"

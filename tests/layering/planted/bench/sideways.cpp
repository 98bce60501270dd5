#include "platform/clock.h"
#include "info/disk.h"

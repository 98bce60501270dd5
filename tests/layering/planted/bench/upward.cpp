#include "bench/runner.h"
#include "core/settings.h"
#include "app/window.h"

#include <QWidget>
#include "bench/runner.h"
#include "app/window.h"

#include "common/PumpingWait.h"

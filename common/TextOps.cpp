#include "common/TextOps.h"

#include "support/AllocationCounterImpl.h"

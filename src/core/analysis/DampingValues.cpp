#include "analysis/DampingValues.h"

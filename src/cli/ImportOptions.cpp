#include "ImportOptions.h"

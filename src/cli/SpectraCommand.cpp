#include "SpectraCommand.h"

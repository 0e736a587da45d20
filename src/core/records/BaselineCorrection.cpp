#include "records/BaselineCorrection.h"

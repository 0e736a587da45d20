#include "analysis/SpectrumStore.h"

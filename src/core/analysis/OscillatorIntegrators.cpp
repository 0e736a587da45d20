#include "analysis/OscillatorIntegrators.h"

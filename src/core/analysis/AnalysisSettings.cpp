#include "analysis/AnalysisSettings.h"

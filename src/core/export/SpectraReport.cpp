#include "export/SpectraReport.h"

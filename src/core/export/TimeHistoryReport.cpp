#include "export/TimeHistoryReport.h"

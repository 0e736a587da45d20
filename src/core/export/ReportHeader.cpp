#include "export/ReportHeader.h"

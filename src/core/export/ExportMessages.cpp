#include "export/ExportMessages.h"

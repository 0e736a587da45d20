#include "RecordsCommand.h"

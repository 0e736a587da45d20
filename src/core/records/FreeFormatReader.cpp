#include "records/FreeFormatReader.h"

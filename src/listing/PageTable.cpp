// Out-of-line part of the listing page table (header-only for now).
#include "listing/PageTable.h"

// The scan file routines that start-up and exit call. Every one is built
// now: their headers are included here, so the callers written against this
// file find them.
#pragma once

#include "files/auto_save.h"
#include "files/scan_file_a.h"
#include "files/scan_file_b.h"
#include "files/tdr_file.h"

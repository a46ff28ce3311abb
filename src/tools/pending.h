// Tool routines other folders call. Every one of them is built: their
// headers are included here, so the callers written against this file find
// them.
#pragma once

#include "tools/array_scan.h"
#include "tools/channel_scan.h"
#include "tools/vector_scope.h"

// Shell globals other folders read. All of them are built: the shell's state
// header is included here, so the callers written against this file find
// them.
#pragma once

#include "shell/state.h"

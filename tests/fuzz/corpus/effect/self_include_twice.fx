#include "a.fxh"
#include "a.fxh"

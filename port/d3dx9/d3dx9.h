// The D3DX9 stand-in: maths, core objects, textures and effects over port/d3d9.
#pragma once

#include "port/d3d9/d3d9.h"
#include "port/d3dx9/d3dx9core.h"
#include "port/d3dx9/d3dx9effect.h"
#include "port/d3dx9/d3dx9math.h"
#include "port/d3dx9/d3dx9tex.h"

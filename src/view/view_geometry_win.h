// Window rectangles seen as slide rectangles of the pure geometry.
#pragma once
#include <windows.h>

#include "view/geometry.h"

inline SlideRect ToSlideRect(const RECT& rc) { return {rc.left, rc.top, rc.right, rc.bottom}; }

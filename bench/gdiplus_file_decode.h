// GDI+ decoding the way a framework image class does it: from the file, then a
// bitmap handle. The benchmarks compare the program's own decoder against it.
#pragma once
#include <windows.h>
#include <gdiplus.h>

#include <string>

#include "framework/gdi.h"

inline fw::Bitmap DecodeWithGdiplusFile(const std::wstring& path) {
    fw::Bitmap result;
    if (Gdiplus::Bitmap* bmp = Gdiplus::Bitmap::FromFile(path.c_str())) {
        HBITMAP h = nullptr;
        if (bmp->GetLastStatus() == Gdiplus::Ok && bmp->GetHBITMAP(Gdiplus::Color(0, 0, 0, 0), &h) == Gdiplus::Ok)
            result.reset(h);
        delete bmp;
    }
    return result;
}

// One page of the print preview, drawn by the view's own printing code into a bitmap.
#pragma once
#include "framework/gdi.h"
#include "framework/print_info.h"
#include "framework/print_preview_layout.h"

class CView;

// Draws page `page` through the view's OnPrint onto a screen bitmap of `pixels`, which stands
// for the printable area of `paper`: the DC is a printing DC (m_bPrinting) whose clip box is
// that area in printer pixels, exactly as on paper, scaled down by its mapping mode.
// Sets the record's m_nCurPage; the view may clear m_bContinuePrinting.
fw::Bitmap RenderPreviewPage(CView& view, CPrintInfo& info, UINT page, const PaperMetrics& paper, SIZE pixels);

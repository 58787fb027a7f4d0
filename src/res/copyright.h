// The maker's copyright notice: printed on handouts and shown as bitmap IDB_COPYRIGHT on screen.
// The bitmap generator reads the text from this line, so the two always say the same words.
#pragma once

inline constexpr wchar_t kCopyrightNotice[] = L"\u00A9 2017 Quillmere Circuits Ltd. All rights reserved.";

// The request log: when CIRCELO_LOG names a file, every request the simulator
// receives is appended to it as one line, so a test can see what arrived.
#pragma once
#include <string_view>

namespace vexa {

// Appends `line` and a line end, UTF-8, and closes the file at once; nothing without CIRCELO_LOG.
void AppendRequestLog(std::wstring_view line);

}  // namespace vexa

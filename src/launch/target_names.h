// Deck file names: resolving them under the program folder, and telling
// circuit files apart by their extension.
#pragma once

inline constexpr int kAppDirChars = 260;
inline constexpr int kResolvedPathChars = 520;

// The folder of the running executable, without a trailing backslash.
extern wchar_t g_appDir[kAppDirChars];

// The full path of a deck file name, in a buffer that the next call overwrites.
// A result that would not fit the buffer is refused: the empty string.
const wchar_t* ResolvePath(const wchar_t* name);
// The same under the folder `dir` (at most kAppDirChars - 1 characters are read of it), into
// the caller's buffer: for a thread other than the window's.
const wchar_t* ResolvePathIn(const wchar_t* dir, const wchar_t* name, wchar_t (&out)[kResolvedPathChars]);

// Netlists: the simulator must be running before it can take them by message.
bool IsNetlistFile(const wchar_t* name);
// Everything the simulator opens: the netlists and the other circuit file types.
bool IsCircuitFile(const wchar_t* name);
// Whether the text from the name's last '.' equals ext, ASCII case folded.
bool HasExtension(const wchar_t* name, const wchar_t* ext);
// ASCII case-folded equality of two whole strings.
bool EqualsNoCase(const wchar_t* a, const wchar_t* b);

inline constexpr const wchar_t* kNetlistExtensions[] = {L".net", L".sp", L".mod", L".bjt", L".dio", L".mos", L".jft"};
inline constexpr const wchar_t* kFurtherCircuitExtensions[] = {L".asc", L".raw", L".asy", L".cap",
                                                               L".ind", L".bead", L".res"};

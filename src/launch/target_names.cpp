#include "launch/target_names.h"

#include <cwchar>

wchar_t g_appDir[kAppDirChars] = {};

namespace {
wchar_t g_resolved[kResolvedPathChars];

wchar_t FoldLower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

const wchar_t* Extension(const wchar_t* name) { return name ? std::wcsrchr(name, L'.') : nullptr; }

template <size_t N>
bool ExtensionIn(const wchar_t* name, const wchar_t* const (&set)[N]) {
    const wchar_t* ext = Extension(name);
    if (!ext) return false;
    for (const wchar_t* candidate : set) {
        if (EqualsNoCase(ext, candidate)) return true;
    }
    return false;
}

bool IsAbsolute(const wchar_t* name) { return name[0] == L'\\' || (name[0] != L'\0' && name[1] == L':'); }
}  // namespace

bool EqualsNoCase(const wchar_t* a, const wchar_t* b) {
    for (;; ++a, ++b) {
        if (FoldLower(*a) != FoldLower(*b)) return false;
        if (*a == L'\0') return true;
    }
}

const wchar_t* ResolvePathIn(const wchar_t* dir, const wchar_t* name, wchar_t (&out)[kResolvedPathChars]) {
    const bool haveDir = dir && dir[0] != L'\0';
    size_t len = 0;
    if (haveDir) {
        while (len < static_cast<size_t>(kAppDirChars - 1) && dir[len] != L'\0') ++len;
        std::wmemcpy(out, dir, len);
        if (dir[len - 1] != L'\\') out[len++] = L'\\';
    }
    out[len] = L'\0';
    if (!name || !*name) return out;
    if (IsAbsolute(name)) len = 0;
    else if (haveDir && std::wcsncmp(name, L".\\", 2) == 0) name += 2;
    const size_t rest = std::wcslen(name);
    if (len + rest >= kResolvedPathChars) {
        out[0] = L'\0';  // a cut path could name another file: open nothing instead
        return out;
    }
    std::wmemcpy(out + len, name, rest + 1);
    return out;
}

const wchar_t* ResolvePath(const wchar_t* name) { return ResolvePathIn(g_appDir, name, g_resolved); }

bool IsNetlistFile(const wchar_t* name) { return ExtensionIn(name, kNetlistExtensions); }

bool IsCircuitFile(const wchar_t* name) {
    return ExtensionIn(name, kNetlistExtensions) || ExtensionIn(name, kFurtherCircuitExtensions);
}

bool HasExtension(const wchar_t* name, const wchar_t* ext) {
    const wchar_t* own = Extension(name);
    return own && EqualsNoCase(own, ext);
}

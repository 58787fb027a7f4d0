#include "launch/file_tests.h"

#include <windows.h>

#include <sys/stat.h>
#include <sys/types.h>

#include <cwchar>
#include <iterator>

namespace {

// A name ending in a separator names a folder; Wine's stat would forgive the separator.
bool EndsInSeparator(const wchar_t* path) {
    const wchar_t last = path[std::wcslen(path) - 1];
    return last == L'\\' || last == L'/';
}

}  // namespace

bool FileExists(const wchar_t* path) {
    if (!path || !*path || EndsInSeparator(path)) return false;
    struct _stat64i32 st;
    return _wstat64i32(path, &st) == 0 && (st.st_mode & _S_IFREG) != 0;
}

bool DirectoryExists(const wchar_t* path) {
    if (!path || !*path) return false;
    wchar_t copy[1024];
    const size_t len = std::wcslen(path);
    if (len >= std::size(copy) - 1) return false;  // longer than any resolved path can be
    std::wmemcpy(copy, path, len + 1);
    size_t n = len;
    if (n > 1 && (copy[n - 1] == L'/' || copy[n - 1] == L'\\')) copy[--n] = L'\0';
    if (n == 2 && copy[1] == L':') {
        copy[2] = L'\\';
        copy[3] = L'\0';
    }
    struct _stat64 st;
    return _wstat64(copy, &st) == 0 && (st.st_mode & _S_IFDIR) != 0;
}


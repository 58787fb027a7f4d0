#include "pictures/file_identity.h"

#include <windows.h>

#include <cwchar>

#include "framework/gdi.h"

namespace fw {

std::optional<FileIdentity> IdentityOfOpenFile(void* file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info)) return std::nullopt;
    if (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return std::nullopt;
    return FileIdentity{Join32(info.nFileSizeHigh, info.nFileSizeLow),
                        Join32(info.ftCreationTime.dwHighDateTime, info.ftCreationTime.dwLowDateTime),
                        Join32(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime),
                        Join32(info.nFileIndexHigh, info.nFileIndexLow), info.dwVolumeSerialNumber};
}

std::optional<FileIdentity> QueryFileIdentity(const wchar_t* path) {
    if (!path || !*path) return std::nullopt;
    const wchar_t last = path[std::wcslen(path) - 1];
    if (last == L'\\' || last == L'/') return std::nullopt;
    // Opened for its attributes alone, which no other opener's sharing mode refuses.
    const HANDLE raw = ::CreateFileW(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return std::nullopt;
    const KernelHandle file(raw);
    return IdentityOfOpenFile(raw);
}

}  // namespace fw

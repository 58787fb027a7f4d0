// Which version of a file a path names now: what tells the slide on disk from the one a cache
// holds. The decoder reads the identity of what it decodes the same way, from the open file, so
// that both always agree about the same version.
#pragma once
#include <optional>

#include "pictures/picture_data.h"

namespace fw {

// The size and times of the regular file at path, by one metadata call on the file opened for
// its attributes only; nothing when it is not a readable regular file. A trailing separator
// names a folder, never a file.
std::optional<FileIdentity> QueryFileIdentity(const wchar_t* path);
// The same for a file open already (a HANDLE).
std::optional<FileIdentity> IdentityOfOpenFile(void* file);

}  // namespace fw

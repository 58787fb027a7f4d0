// Whether a path names an existing regular file or folder, and which version of a file it is.
#pragma once
#include <optional>

#include "framework/picture_data.h"

bool FileExists(const wchar_t* path);
// A trailing separator is ignored; "D:" and "D:\" both mean the root of drive D.
bool DirectoryExists(const wchar_t* path);

// The size and times of the regular file at path, by one metadata call: what tells the slide
// on disk from the one a cache holds. Nothing when FileExists would be false.
std::optional<fw::FileIdentity> QueryFileIdentity(const wchar_t* path);

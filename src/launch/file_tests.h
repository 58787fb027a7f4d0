// Whether a path names an existing regular file or folder.
#pragma once

bool FileExists(const wchar_t* path);
// A trailing separator is ignored; "D:" and "D:\" both mean the root of drive D.
bool DirectoryExists(const wchar_t* path);

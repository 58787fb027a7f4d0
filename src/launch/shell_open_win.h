// Hands a file or folder to the desktop shell, which opens it with its program.
#pragma once

// No owner window, the "open" verb, shown normally; a failure goes unnoticed.
void ShellOpen(const wchar_t* path);

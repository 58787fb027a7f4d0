// What a click on a hotspot does, decided from its target name and from what lies
// at the name's resolved path. The order of the rules is the order of the tests.
#pragma once

enum class ClickAction {
    Nothing,
    ShellOpen,        // the desktop shell opens the file or shows the folder
    ShowPicture,      // picture mode, which resolves and tests the photo itself
    RunInSimulator,   // open and run the file named after the run mark
    OpenInSimulator,  // open the circuit file
};

// What lies at the resolved path of NameToResolve(target).
struct TargetFacts {
    bool isFile = false;       // an existing regular file
    bool isDirectory = false;  // an existing folder
};

// The name whose path the action uses: the name after a leading run mark '!', unless a
// sound or photo extension claims the target first; the whole name otherwise.
const wchar_t* NameToResolve(const wchar_t* target);

// ".wav" (shell, files only) and ".jpg" (picture) first, whatever the case and any mark;
// then the run mark (files only, never folders); then circuit files by the target's own
// extension; other files and folders go to the shell; anything else does nothing.
ClickAction DecideClickAction(const wchar_t* target, TargetFacts facts);

// Deck file names joined to the program folder, and the extension tests that route a click.
// Any folder that fits g_appDir and any name: the join stays inside its buffer and gives the
// folder, one backslash and the name, or the name alone when it is absolute, or nothing when
// the whole would not fit. The extension tests agree with each other.
#include "launch/dispatch.h"
#include "launch/target_names.h"
#include "render/picture_rules.h"

#include "fuzz_check.h"
#include "fuzz_text.h"

#include <cwchar>
#include <string>

namespace {

using fuzz::Check;

// The join as the header describes it, written out the long way.
std::wstring ExpectedJoin(const std::wstring& dir, const std::wstring& name) {
    std::wstring base = dir;
    if (!base.empty() && base.back() != L'\\') base += L'\\';
    std::wstring joined;
    if (name.empty()) {
        joined = base;
    } else if (name[0] == L'\\' || (name.size() >= 2 && name[1] == L':')) {
        joined = name;
    } else if (!dir.empty() && name.rfind(L".\\", 0) == 0) {
        joined = base + name.substr(2);
    } else {
        joined = base + name;
    }
    return joined.size() < kResolvedPathChars ? joined : std::wstring();
}

void CheckResolve(const std::wstring& dir, const std::wstring& name) {
    std::wmemcpy(g_appDir, dir.c_str(), dir.size() + 1);
    const wchar_t* resolved = ResolvePath(name.c_str());
    Check(std::wcslen(resolved) < kResolvedPathChars, "the result ends inside its buffer");
    Check(resolved == ExpectedJoin(dir, name), "folder, backslash and name, or nothing");
    Check(std::wcscmp(ResolvePath(nullptr), ExpectedJoin(dir, L"").c_str()) == 0, "no name gives the folder");
}

void CheckExtensions(const std::wstring& name) {
    const wchar_t* n = name.c_str();
    Check(!IsNetlistFile(n) || IsCircuitFile(n), "a netlist is a circuit file");
    Check(IsPhotoTarget(n) == HasExtension(n, L".jpg"), "a photo is a .jpg");
    const std::size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) {
        Check(HasExtension(n, n + dot), "a name has its own extension");
        Check(EqualsNoCase(n + dot, n + dot), "a text equals itself");
    }
    const wchar_t* resolved = NameToResolve(n);
    Check(resolved == n || (n[0] == L'!' && resolved == n + 1), "the name to resolve is the target or follows its mark");
    const ClickAction photo = DecideClickAction(n, TargetFacts{});
    Check(!IsPhotoTarget(n) || photo == ClickAction::ShowPicture, "a photo shows in picture mode");
    Check(!IsPhotoTarget(n) || resolved == n, "a photo is resolved by its whole name");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto pieces = fuzz::SplitAtNul(fuzz::Utf16Units(data, size));
    const std::wstring& name = pieces.back();
    std::wstring dir = pieces.size() > 1 ? pieces.front() : std::wstring();
    if (dir.size() >= kAppDirChars) dir.resize(kAppDirChars - 1);  // the folder always fits its buffer
    CheckResolve(dir, name);
    CheckExtensions(name);
    return 0;
}

#include "launch/dispatch.h"

#include "launch/target_names.h"

namespace {
constexpr wchar_t kRunMark = L'!';

bool IsSound(const wchar_t* target) { return HasExtension(target, L".wav"); }
bool IsPhoto(const wchar_t* target) { return HasExtension(target, L".jpg"); }
}  // namespace

const wchar_t* NameToResolve(const wchar_t* target) {
    if (!target || IsSound(target) || IsPhoto(target)) return target;
    return target[0] == kRunMark ? target + 1 : target;
}

ClickAction DecideClickAction(const wchar_t* target, TargetFacts facts) {
    if (!target) return ClickAction::Nothing;
    if (IsSound(target)) return facts.isFile ? ClickAction::ShellOpen : ClickAction::Nothing;
    if (IsPhoto(target)) return ClickAction::ShowPicture;
    if (target[0] == kRunMark) return facts.isFile ? ClickAction::RunInSimulator : ClickAction::Nothing;
    if (facts.isFile) return IsCircuitFile(target) ? ClickAction::OpenInSimulator : ClickAction::ShellOpen;
    if (facts.isDirectory) return ClickAction::ShellOpen;
    return ClickAction::Nothing;
}

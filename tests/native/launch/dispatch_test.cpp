#include "launch/dispatch.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr TargetFacts kMissing{false, false};
constexpr TargetFacts kFile{true, false};
constexpr TargetFacts kFolder{false, true};

const char* Name(ClickAction a) {
    switch (a) {
        case ClickAction::Nothing: return "Nothing";
        case ClickAction::ShellOpen: return "ShellOpen";
        case ClickAction::ShowPicture: return "ShowPicture";
        case ClickAction::RunInSimulator: return "RunInSimulator";
        case ClickAction::OpenInSimulator: return "OpenInSimulator";
    }
    return "?";
}

TEST(ClickDispatch, RulesInTheirOrder) {
    struct Case {
        const wchar_t* target;
        TargetFacts facts;
        ClickAction action;
    } const cases[] = {
        // Sounds: files only, any case, before the run mark.
        {L"siren.wav", kFile, ClickAction::ShellOpen},
        {L"siren.WAV", kFile, ClickAction::ShellOpen},
        {L"siren.wav", kFolder, ClickAction::Nothing},
        {L"siren.wav", kMissing, ClickAction::Nothing},
        {L"!x.wav", kFile, ClickAction::ShellOpen},
        // Photos: picture mode tests the file itself.
        {L"Ibis.jpg", kMissing, ClickAction::ShowPicture},
        {L"Ibis.JPG", kFile, ClickAction::ShowPicture},
        {L"!x.jpg", kFile, ClickAction::ShowPicture},
        // The run mark: regular files only, any extension, never a folder.
        {L"!astable.asc", kFile, ClickAction::RunInSimulator},
        {L"!astable.asc", kMissing, ClickAction::Nothing},
        {L"!astable.asc", kFolder, ClickAction::Nothing},
        {L"!notes.pdf", kFile, ClickAction::RunInSimulator},
        {L"!", kMissing, ClickAction::Nothing},
        // Circuit files by the target's own extension.
        {L"NE555.ASC", kFile, ClickAction::OpenInSimulator},
        {L"amp.net", kFile, ClickAction::OpenInSimulator},
        {L"x.asc.bak", kFile, ClickAction::ShellOpen},
        {L"x.ascii", kFile, ClickAction::ShellOpen},
        {L"curvetrace.asc", kMissing, ClickAction::Nothing},
        // Everything else: files and folders to the shell.
        {L"English.pdf", kFile, ClickAction::ShellOpen},
        {L"README", kFile, ClickAction::ShellOpen},  // no '.': never the simulator
        {L"examples", kFolder, ClickAction::ShellOpen},
        {L"examples.asc", kFolder, ClickAction::ShellOpen},
        {L"English.pdf", kMissing, ClickAction::Nothing},
        {L"", kFolder, ClickAction::ShellOpen},
        {nullptr, kFile, ClickAction::Nothing},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(Name(DecideClickAction(c.target, c.facts)), Name(c.action))
            << (c.target ? std::wstring(c.target).size() : 0) << " chars, file " << c.facts.isFile << " folder "
            << c.facts.isDirectory;
    }
}

TEST(ClickDispatch, NameToResolveDropsTheRunMarkOnlyWhereTheMarkRules) {
    struct Case {
        const wchar_t* target;
        const wchar_t* name;
    } const cases[] = {
        {L"!astable.asc", L"astable.asc"},
        {L"!x.wav", L"!x.wav"},  // a sound named with the mark
        {L"!x.JPG", L"!x.JPG"},
        {L"!", L""},
        {L"English.pdf", L"English.pdf"},
        {L"a!b.asc", L"a!b.asc"},
    };
    for (const Case& c : cases) EXPECT_STREQ(NameToResolve(c.target), c.name);
    EXPECT_EQ(NameToResolve(nullptr), nullptr);
}

}  // namespace

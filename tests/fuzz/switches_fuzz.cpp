// Switch matching over any command-line tail: the search stays inside both texts and finds the
// first place where the word stands, letters folded; a switch is that place right after '-' or
// '/' and before a blank or the end; the branding row is the first whose switch is present.
#include "app/switches.h"

#include "fuzz_check.h"
#include "fuzz_text.h"

#include <string>

namespace {

using fuzz::Check;

wchar_t Fold(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

// The first index where word stands in text, folded, or npos; never for an empty text or word.
std::size_t FirstPlace(const std::wstring& text, const std::wstring& word) {
    if (text.empty() || word.empty() || word.size() > text.size()) return std::wstring::npos;
    for (std::size_t at = 0; at + word.size() <= text.size(); ++at) {
        std::size_t k = 0;
        while (k < word.size() && Fold(text[at + k]) == Fold(word[k])) ++k;
        if (k == word.size()) return at;
    }
    return std::wstring::npos;
}

bool StandsAsSwitch(const std::wstring& text, const std::wstring& word) {
    const std::size_t at = FirstPlace(text, word);
    if (at == std::wstring::npos || at == 0) return false;
    if (text[at - 1] != L'-' && text[at - 1] != L'/') return false;
    const std::size_t end = at + word.size();
    return end == text.size() || text[end] == L' ';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto pieces = fuzz::SplitAtNul(fuzz::Utf16Units(data, size));
    const std::wstring& tail = pieces[0];
    const std::wstring& word = pieces.size() > 1 ? pieces[1] : std::wstring(L"Pro");

    const wchar_t* found = FindNoCase(tail.c_str(), word.c_str());
    const std::size_t at = FirstPlace(tail, word);
    Check(at == std::wstring::npos ? found == nullptr : found == tail.c_str() + at, "the first folded match");
    Check(HasSwitchIn(tail.c_str(), word.c_str()) == StandsAsSwitch(tail, word), "a switch stands after - or /");

    const BrandingChoice branding = ChooseBranding(tail.c_str());
    for (const BrandingChoice& row : kBrandingChoices) {
        if (row.pszSwitch && !StandsAsSwitch(tail, row.pszSwitch)) continue;
        Check(branding.pszSwitch == row.pszSwitch && branding.nBrandLogoId == row.nBrandLogoId,
              "the first row whose switch is present");
        break;
    }
    const PresentationMode mode = ChooseMode(tail.c_str());
    Check(mode.bPro == StandsAsSwitch(tail, L"Pro"), "pro mode from its switch");
    Check(mode.bBig == (mode.bPro || StandsAsSwitch(tail, L"big") || StandsAsSwitch(tail, L"max")),
          "big mode from pro or its own switches");
    return 0;
}

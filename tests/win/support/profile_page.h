// The profile's one value, "Page" under the program's registry key, as the tests read and set it,
// and kept as a test found it: put back when the keeper goes, however the test ends (an ASSERT
// returns early), so that a failing test leaves the user's last slide as it was.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace testing_win {

inline constexpr wchar_t kProfileSectionKey[] = L"Software\\QuillmerePemboro\\Pemboro\\General";

// The stored value; none when it is not there.
inline std::optional<std::wstring> StoredPage() {
    wchar_t buffer[64] = {};
    DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CURRENT_USER, kProfileSectionKey, L"Page", RRF_RT_REG_SZ, nullptr, buffer, &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buffer);
}

// Stores the value; none removes it.
inline void SetStoredPage(const std::optional<std::wstring>& value) {
    if (!value) {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kProfileSectionKey, L"Page");
        return;
    }
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kProfileSectionKey, L"Page", REG_SZ, value->c_str(),
                      static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
}

class KeptStoredPage {
public:
    KeptStoredPage() : saved_(StoredPage()) {}
    ~KeptStoredPage() { SetStoredPage(saved_); }
    KeptStoredPage(const KeptStoredPage&) = delete;
    KeptStoredPage& operator=(const KeptStoredPage&) = delete;

private:
    std::optional<std::wstring> saved_;
};

}  // namespace testing_win

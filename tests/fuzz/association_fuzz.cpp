// The simulator's location comes from a registry text that anyone with rights to the file type
// can write. Whatever it holds, the reader stays inside its buffer and what the parser returns
// is a quoted path of the command, before the quoted "%1", short enough for its buffer.
#include "launch/simulator_rules.h"

#include "fuzz_check.h"
#include "fuzz_text.h"

#include <memory>

namespace {

using fuzz::Check;

// A registry read into a buffer of exactly `capacity` characters that reported `charsRead`.
void ReadBuffer(const std::wstring& units, std::size_t capacity, std::size_t charsRead) {
    const auto buffer = std::make_unique<wchar_t[]>(capacity);  // ASan sees any read past it
    for (std::size_t i = 0; i < capacity; ++i) buffer[i] = i < units.size() ? units[i] : L'x';
    const auto text = RegistryText(buffer.get(), charsRead, capacity);
    if (!text) {
        Check(charsRead >= capacity, "only a full buffer can lack its end");
        return;
    }
    Check(text->data() == buffer.get(), "the text is the buffer's own");
    Check(text->size() < capacity && text->size() <= charsRead, "the text lies inside what was written");
    Check(text->find(L'\0') == std::wstring_view::npos, "the text ends at the first terminator");
}

void ParseCommand(const std::wstring& command) {
    const auto location = ParseOpenCommand(command);
    if (!location) return;
    const std::wstring& path = location->path;
    Check(path.size() + 1 <= kSimulatorNameChars, "the path fits its buffer");
    const std::size_t slash = path.rfind(L'\\');
    Check(slash != std::wstring::npos, "the path has a folder");
    Check(location->exe == path.substr(slash + 1), "the file name follows the last backslash");
    const std::size_t placeholder = command.find(L"\"%1\"");
    Check(placeholder != std::wstring::npos, "there is a quoted placeholder");
    const std::wstring quoted = L'"' + path + L'"';
    const std::size_t at = command.find(quoted);
    Check(at != std::wstring::npos && at + quoted.size() <= placeholder, "the path is quoted before the placeholder");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::wstring units = fuzz::Utf16Units(data + 2, size - 2);
    ReadBuffer(units, 1 + data[0] % 64, data[1]);
    ParseCommand(units);
    const auto key = OpenCommandKeyFor(units, 1 + data[0] * 8u);
    if (key) {
        Check(key->size() + 1 <= 1 + data[0] * 8u, "the key fits its buffer");
        Check(*key == units + kOpenCommandKeySuffix, "the key is the type and the command suffix");
    }
    return 0;
}

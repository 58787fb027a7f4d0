#include "view/key_table.h"

namespace {

bool CodeMatches(unsigned rowCode, unsigned code) {
    if (rowCode == kAnyCode) return true;
    if (rowCode == kDigitKeys) return DigitOfKey(code) >= 0;
    return rowCode == code;
}

const KeyRow* RowFor(Input input, unsigned code, bool ctrlHeld, bool pictureMode, Overlay overlay) {
    for (const KeyRow& row : kKeyTable) {
        if (row.input != input || !CodeMatches(row.code, code)) continue;
        if ((row.overlays & In(overlay)) == 0) continue;
        if (row.ctrl != CtrlState::Any && (row.ctrl == CtrlState::Held) != ctrlHeld) continue;
        if (row.mode != ViewMode::Any && (row.mode == ViewMode::Picture) != pictureMode) continue;
        return &row;
    }
    return nullptr;
}

}  // namespace

Commands CommandsFor(Input input, unsigned code, bool ctrlHeld, bool pictureMode, Overlay overlay, bool repeat) {
    Commands out;
    const KeyRow* row = RowFor(input, code, ctrlHeld, pictureMode, overlay);
    if (!row || (repeat && IgnoresRepeat(row->command))) return out;
    out.first = row->command;
    if (row->then == Then::AsPlain && overlay != Overlay::None) {
        if (const KeyRow* plain = RowFor(input, code, ctrlHeld, pictureMode, Overlay::None)) out.then = plain->command;
    }
    return out;
}

Command CommandFor(Input input, unsigned code, bool ctrlHeld, bool pictureMode) {
    return CommandsFor(input, code, ctrlHeld, pictureMode, Overlay::None).first;
}

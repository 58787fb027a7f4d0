#include "view/key_table.h"

Command CommandFor(Input input, unsigned code, bool ctrlHeld, bool pictureMode) {
    for (const KeyRow& row : kKeyTable) {
        if (row.input != input || row.code != code) continue;
        if (row.ctrl != CtrlState::Any && (row.ctrl == CtrlState::Held) != ctrlHeld) continue;
        if (row.mode != ViewMode::Any && (row.mode == ViewMode::Picture) != pictureMode) continue;
        return row.command;
    }
    return Command::None;
}

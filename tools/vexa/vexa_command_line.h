// What the simulator was asked to do on its command line.
#pragma once
#include <string>
#include <vector>

namespace vexa {

struct LaunchRequest {
    std::wstring path;  // empty: start with no file
    bool run = false;   // "-run" after the path
    bool refuseMessages = false;  // "-refuse" anywhere: answer open/run messages with 0
    // "-slow=N" anywhere: take N milliseconds over each open/run message, answering the
    // window's other messages meanwhile, as a simulator busy with a large file does.
    unsigned slowReplyMs = 0;
    // "-block=N" anywhere: stay N milliseconds inside the handler of each open/run message
    // without handling any message, as a simulator that opens or runs a file on its window's
    // thread does; the file is opened when that is done.
    unsigned blockReplyMs = 0;
    // "-ghost=NAME": no simulator at all, but a stand-in for the window the system puts in front
    // of a simulator that stopped taking messages: class "Ghost", titled as the simulator with
    // NAME open, followed by " (Not Responding)", answering every message by default.
    std::wstring ghostOf;
};

// `arguments` excludes argument 0 (the program's own name). The switches are whole
// arguments, ASCII case-insensitive. A starter that passes a path with spaces unquoted
// splits it into several arguments; they are joined again with single spaces.
LaunchRequest ParseLaunchArguments(const std::vector<std::wstring>& arguments);

}  // namespace vexa

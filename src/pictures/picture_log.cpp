#include "pictures/picture_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "pictures/picture_cache_core.h"

namespace {

double Mb(std::size_t bytes) { return static_cast<double>(bytes) / 1048576.0; }

}  // namespace

bool PictureLogging() {
    static const bool on = std::getenv("PEMBORO_PICTURE_LOG") != nullptr;
    return on;
}

void PictureLog(const char* format, ...) {
    if (!PictureLogging()) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fflush(stderr);
}

std::string ShortName(const PictureRequest& r) {
    const std::size_t sep = r.path.find_last_of(L"\\/");
    std::string name;
    for (const wchar_t c : r.path.substr(sep == std::wstring::npos ? 0 : sep + 1)) name += static_cast<char>(c);
    return name + "@" + std::to_string(r.width) + "x" + std::to_string(r.height);
}

void LogPlan(const PictureCache::Core& core, const fw::PixelLedger::Figures& ledger) {
    std::string ready, decoded, held;
    for (const std::size_t i : core.plan.ready)
        if (core.itemClients[i] != PictureClient::Overview) ready += " " + ShortName(core.items[i].request);
    for (const std::size_t i : core.plan.decoded) decoded += " " + ShortName(core.items[i].request);
    std::size_t thumbnails = 0;
    for (const PictureCache::Core::Entry& e : core.pictures) {
        if (e.client == PictureClient::Overview) ++thumbnails;
        else held += " " + ShortName(e.request);
    }
    PictureLog("plan: %.1f MB + headroom %.1f of %.1f; ready:%s; decoded:%s; held after:%s + %zu thumbnails; "
               "ledger alive %.1f (resident %.1f) reserved %.1f\n",
               Mb(core.plan.bytes), Mb(core.plan.headroom), Mb(core.ledger->Budget()), ready.c_str(), decoded.c_str(),
               held.c_str(), thumbnails, Mb(ledger.alive), Mb(ledger.resident), Mb(ledger.reserved));
}

void LogRoom(int worker, const PictureRequest& request, std::size_t bytes, std::size_t keepFree,
             const fw::PixelLedger::Figures& ledger, bool got) {
    PictureLog("worker %d room for %s: %.1f MB + keep free %.1f, alive %.1f reserved %.1f: %s\n", worker,
               ShortName(request).c_str(), Mb(bytes), Mb(keepFree), Mb(ledger.alive), Mb(ledger.reserved),
               got ? "got" : "none");
}

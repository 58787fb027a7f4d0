// The picture cache's log, for finding out why a picture was not ready: with PEMBORO_PICTURE_LOG
// set in the environment, every plan, every worker's wait for room and every picture a client
// asked for that was not held go to stderr, one line each. Off, it costs a test of a flag.
#pragma once
#include <cstddef>
#include <string>

#include "pictures/picture_cache.h"

bool PictureLogging();
void PictureLog(const char* format, ...);
// The file's name and the picture's size: "slide7.png@3840x2160".
std::string ShortName(const PictureRequest& request);
void LogPlan(const PictureCache::Core& core, const fw::PixelLedger::Figures& ledger);
void LogRoom(int worker, const PictureRequest& request, std::size_t bytes, std::size_t keepFree,
             const fw::PixelLedger::Figures& ledger, bool got);

// The program's entry point and its one application object. Kept out of the library the
// tests link, since each test program brings its own main and its own application objects.
#include "app/app.h"

CPemboroApp theApp;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR cmdLine, int) { return AfxWinMain(cmdLine); }

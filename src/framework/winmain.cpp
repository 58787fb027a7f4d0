// The program's entry point hands over to the application object.
#include "framework/app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int nCmdShow) {
    return AfxWinMain(instance, cmdLine, nCmdShow);
}

// The one application object of the program.
#include "app/app.h"

CPemboroApp theApp;

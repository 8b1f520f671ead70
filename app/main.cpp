// The one application object. The framework's entry point finds it and runs
// it: InitInstance, then Run.
#include "app/cgameapp.h"

CGameApp theApp;

#include "app.h"

// The one application object, constructed before the entry point runs.
CLodestarApp theApp;

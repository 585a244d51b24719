#include "app/RevtallyApp.h"

// The one application object of the process.
CRevtallyApp theApp;

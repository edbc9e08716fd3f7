// The one place where the Sensor API and Location API ids (class and
// interface ids, the location category and types, the data-field keys) are
// defined; everything else only declares them through the SDK headers.
#include <initguid.h>
#include <windows.h>
#include <sensorsapi.h>
#include <sensors.h>
#include <locationapi.h>

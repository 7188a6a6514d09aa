#include "geometry/settings.h"

Settings settings;

#include "wallpaper.h"

#include "xptopbuttons.h"

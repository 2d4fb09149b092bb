#include "xpcmdbutton.h"

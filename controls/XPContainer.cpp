#include "XPContainer.h"

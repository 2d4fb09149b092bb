#include "CustomPanel.h"

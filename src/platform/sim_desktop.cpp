#include "platform/sim_desktop.h"

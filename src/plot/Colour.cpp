// Colour values of the plot viewer.
#include "plot/Colour.h"

#include "two_tone.h"

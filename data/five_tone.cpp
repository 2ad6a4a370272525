#include "five_tone.h"

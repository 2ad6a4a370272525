#include "five_tone_page.h"

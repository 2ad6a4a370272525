#include "two_tone_page.h"

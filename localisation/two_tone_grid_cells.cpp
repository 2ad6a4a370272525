#include "field_texts.h"

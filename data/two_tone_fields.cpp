#include "fields.h"

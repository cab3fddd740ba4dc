// A colour file that reaches into a later stage: the include check must refuse it.
#include "io/byte_order.h"

// A storage file that reaches up into month: the include-graph check must refuse it.
#include "month/month_view.h"
#include "year_store.h"

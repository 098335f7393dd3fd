# A graph that breaks every rule once: storage includes month (not linked, and
# above it), month links storage without including it.
set(TARVO_FILES_storage "${SOURCE_DIR}/src/storage/year_store.cpp;${SOURCE_DIR}/src/storage/year_store.h")
set(TARVO_DEPS_storage "")
set(TARVO_FILES_month "${SOURCE_DIR}/src/month/month_view.h")
set(TARVO_DEPS_month "storage")
set(TARVO_FILES_calendar "")
set(TARVO_DEPS_calendar "month")
set(TARVO_LIBRARIES "storage;month;calendar")

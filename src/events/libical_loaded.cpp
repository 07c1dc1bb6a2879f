#include "libical.h"

#include "platform/platform.h"

namespace {

// The table from Debian's libical (package libical3); null when it or a function is missing.
const libical *fill_table()
{
	static libical loaded{};
	void *library = load_library("libical.so.3");
	if (library == nullptr)
		return nullptr;
	bool found = true;
#define PENDRIK_LIBICAL_LOADED(name)                                                               \
	loaded.name = reinterpret_cast<decltype(&::name)>(library_function(library, #name));       \
	found = found && loaded.name != nullptr;
	PENDRIK_LIBICAL_FUNCTIONS(PENDRIK_LIBICAL_LOADED)
#undef PENDRIK_LIBICAL_LOADED
	return found ? &loaded : nullptr;
}

} // namespace

const libical *load_libical()
{
	static const libical *table = fill_table();
	return table;
}

const libical &ical()
{
	return *load_libical();
}

#include "libical.h"

namespace {

libical linked_table()
{
	libical linked{};
#define PENDRIK_LIBICAL_LINKED(name) linked.name = &::name;
	PENDRIK_LIBICAL_FUNCTIONS(PENDRIK_LIBICAL_LINKED)
#undef PENDRIK_LIBICAL_LINKED
	return linked;
}

} // namespace

// The functions of the libical linked into the program.
const libical *load_libical()
{
	static const libical linked = linked_table();
	return &linked;
}

const libical &ical()
{
	return *load_libical();
}

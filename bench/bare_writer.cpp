// The floor for pendrik's speed: writes COUNT bytes from a static block to TARGET in 512-byte
// fwrite calls through an unbuffered FILE, as pendrik hands over its page, generating nothing.
// Usage: bare_writer COUNT TARGET
#include <cstdio>
#include <cstdlib>

namespace {
char block[512];
}

int main(int argc, char **argv)
{
	if (argc != 3)
		return 2;
	std::size_t count = std::strtoull(argv[1], nullptr, 10);
	std::FILE *out = std::fopen(argv[2], "wb");
	if (out == nullptr)
		return 1;
	(void)std::setvbuf(out, nullptr, _IONBF, 0);
	for (std::size_t n; count > 0; count -= n) {
		n = count < sizeof block ? count : sizeof block;
		if (std::fwrite(block, 1, n, out) != n)
			return 1;
	}
	return std::fclose(out) == 0 ? 0 : 1;
}

#ifndef PENDRIK_OUTPUT_H
#define PENDRIK_OUTPUT_H

#include <array>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

// The file receives one write each time this many bytes have collected.
inline constexpr std::size_t out_buffer_size = 512;

// Takes one full buffer, or the remainder at the end; returns false when it failed.
using out_sink = bool (*)(void *target, const char *bytes, std::size_t count);

// A fixed-buffer byte stream that writes every line feed as CR LF, whatever the platform.
struct out_stream {
	out_sink sink;
	void *target;
	std::size_t used = 0; // bytes waiting in buffer, 0 ... out_buffer_size - 1 between calls
	bool failed = false;  // a sink call failed; what follows is dropped
	int error = 0;        // errno as the failed call left it, 0 when it gave none
	char buffer[out_buffer_size] = {};
};

// A fixed text with its line feeds turned into CR LF at compile time: "...\n"_crlf.
template <std::size_t N>
struct crlf_text {
	char bytes[2 * N] = {};
	std::size_t size = 0;

	// Not explicit: a string literal template argument converts through it.
	// cppcheck-suppress noExplicitConstructor
	consteval crlf_text(const char (&text)[N])
	{
		for (std::size_t i = 0; i + 1 < N; ++i) {
			if (text[i] == '\n')
				bytes[size++] = '\r';
			bytes[size++] = text[i];
		}
	}
};

template <crlf_text text>
consteval auto operator""_crlf()
{
	return text;
}

// count copies of a crlf_text end to end: a run of blank cells is one copy from here.
template <auto text, std::size_t count>
consteval std::array<char, text.size * count> repeated()
{
	std::array<char, text.size * count> run{};
	for (std::size_t i = 0; i < run.size(); ++i)
		run[i] = text.bytes[i % text.size];
	return run;
}

// The sink for a FILE * target, opened in binary mode and unbuffered.
bool write_to_file(void *file, const char *bytes, std::size_t count);

// Copies bytes as they are; the buffer goes to the sink each time it fills.
void put_bytes_slow(out_stream &out, const char *bytes, std::size_t count);

inline void put_bytes(out_stream &out, const char *bytes, std::size_t count)
{
	if (count < out_buffer_size - out.used) {
		std::memcpy(out.buffer + out.used, bytes, count);
		out.used += count;
	} else {
		put_bytes_slow(out, bytes, count);
	}
}

template <std::size_t N>
void put(out_stream &out, const crlf_text<N> &text)
{
	put_bytes(out, text.bytes, text.size);
}

// Any text, its line feeds turned into CR LF on the way.
void put(out_stream &out, std::string_view text);

void put_int(out_stream &out, long long value);

// The longest text escape_html makes of one byte.
inline constexpr std::size_t escaped_byte_size = 5;

// Writes text to to as HTML text, with & < > " and ' as character references, and returns the
// size written: at most escaped_byte_size times the size of text.
std::size_t escape_html(std::string_view text, char *to);

// The size of the UTF-8 sequence that text begins with; 0 for none (a stray or overlong byte, a
// surrogate, past U+10FFFF, a sequence cut short).
std::size_t utf8_sequence_size(std::string_view text);

// Appends bytes to text as UTF-8 text: a byte of no UTF-8 sequence, and every control character
// but the tab, becomes U+FFFD, so that a name or a text from anywhere is safe to show.
void append_as_text(std::string &text, std::string_view bytes);

// Writes text to file with its control characters escaped ("\n", "\t", "\x1b"): an argument
// or a file's name echoed in a message keeps the message one line and carries no escape
// sequence to the terminal.
void put_escaped(std::FILE *file, std::string_view text);

// Writes a message line to file: before, subject escaped, after.
void print_message(std::FILE *file, std::string_view before, std::string_view subject,
                   std::string_view after = "");

// Hands what is left in the buffer to the sink; false if any write so far failed.
bool flush_output(out_stream &out);

// Flushes, checks the file's error state and its close; false if any of them failed.
bool close_file_output(out_stream &out);

#endif

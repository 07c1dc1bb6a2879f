#include "output.h"

#include <algorithm>
#include <cerrno>

namespace {

struct two_digits {
	char text[200] = {};
};

consteval two_digits make_digit_pairs()
{
	two_digits pairs;
	for (std::size_t n = 0; n < 100; ++n) {
		pairs.text[2 * n] = static_cast<char>('0' + n / 10);
		pairs.text[2 * n + 1] = static_cast<char>('0' + n % 10);
	}
	return pairs;
}

constexpr two_digits digit_pairs = make_digit_pairs();

void drain(out_stream &out)
{
	errno = 0;
	if (!out.failed && out.used > 0 && !out.sink(out.target, out.buffer, out.used)) {
		out.failed = true;
		out.error = errno;
	}
	out.used = 0;
}

} // namespace

void put_bytes_slow(out_stream &out, const char *bytes, std::size_t count)
{
	while (count > 0) {
		std::size_t room = out_buffer_size - out.used;
		std::size_t n = count < room ? count : room;
		std::memcpy(out.buffer + out.used, bytes, n);
		out.used += n;
		bytes += n;
		count -= n;
		if (out.used == out_buffer_size)
			drain(out);
	}
}

bool write_to_file(void *file, const char *bytes, std::size_t count)
{
	return std::fwrite(bytes, 1, count, static_cast<std::FILE *>(file)) == count;
}

void put(out_stream &out, std::string_view text)
{
	for (std::size_t lf; (lf = text.find('\n')) != std::string_view::npos;) {
		put_bytes(out, text.data(), lf);
		put_bytes(out, "\r\n", 2);
		text.remove_prefix(lf + 1);
	}
	put_bytes(out, text.data(), text.size());
}

void put_int(out_stream &out, long long value)
{
	char digits[20]; // "-9223372036854775808"
	char *end = digits + sizeof digits;
	char *p = end;
	unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
	                                         : static_cast<unsigned long long>(value);
	// Two digits at a time from "00010203...99": half the divisions.
	for (; magnitude >= 100; magnitude /= 100) {
		p -= 2;
		std::memcpy(p, digit_pairs.text + std::size_t{2} * (magnitude % 100), 2);
	}
	if (magnitude >= 10) {
		p -= 2;
		std::memcpy(p, digit_pairs.text + std::size_t{2} * magnitude, 2);
	} else {
		*--p = static_cast<char>('0' + magnitude);
	}
	if (value < 0)
		*--p = '-';
	put_bytes(out, p, static_cast<std::size_t>(end - p));
}

std::size_t escape_html(std::string_view text, char *to)
{
	char *start = to;
	for (char c : text) {
		std::string_view reference;
		switch (c) {
		case '&':
			reference = "&amp;";
			break;
		case '<':
			reference = "&lt;";
			break;
		case '>':
			reference = "&gt;";
			break;
		case '"':
			reference = "&#34;";
			break;
		case '\'':
			reference = "&#39;";
			break;
		default:
			*to++ = c;
			continue;
		}
		std::memcpy(to, reference.data(), reference.size());
		to += reference.size();
	}
	return static_cast<std::size_t>(to - start);
}

std::size_t utf8_sequence_size(std::string_view text)
{
	auto byte = [&](std::size_t i) {
		return i < text.size() ? static_cast<unsigned char>(text[i]) : 0U;
	};
	unsigned lead = byte(0);
	if (lead < 0xc2 || lead > 0xf4)
		return 0;
	std::size_t size = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : 2;
	unsigned low = lead == 0xe0 ? 0xa0 : lead == 0xf0 ? 0x90 : 0x80;
	unsigned high = lead == 0xed ? 0x9f : lead == 0xf4 ? 0x8f : 0xbf;
	if (byte(1) < low || byte(1) > high)
		return 0;
	for (std::size_t i = 2; i < size; ++i)
		if ((byte(i) & 0xc0U) != 0x80)
			return 0;
	return size;
}

void append_as_text(std::string &text, std::string_view bytes)
{
	for (std::size_t i = 0, size; i < bytes.size(); i += size) {
		auto byte = static_cast<unsigned char>(bytes[i]);
		size = byte < 0x80 ? 1 : utf8_sequence_size(bytes.substr(i));
		bool control = (byte < 0x20 && byte != '\t') || byte == 0x7f ||
		               (size == 2 && byte == 0xc2 &&
		                static_cast<unsigned char>(bytes[i + 1]) < 0xa0);
		if (size == 0 || control) {
			text += "\xEF\xBF\xBD";
			size = std::max<std::size_t>(size, 1);
		} else {
			text.append(bytes.substr(i, size));
		}
	}
}

void put_escaped(std::FILE *file, std::string_view text)
{
	const char *const named[] = {"\\t", "\\n", "\\v", "\\f", "\\r"}; // 9 ... 13
	for (std::size_t i = 0, size; i < text.size(); i += size) {
		auto byte = static_cast<unsigned char>(text[i]);
		size = std::max<std::size_t>(utf8_sequence_size(text.substr(i)), 1);
		// The C0 and C1 controls, in UTF-8 (U+0080 ... U+009F as their two bytes) or as
		// bytes of an 8-bit character set, where 0x9b is an escape sequence's start.
		bool control = byte < 0x20 || (byte >= 0x7f && byte < 0xa0) ||
		               (size == 2 && byte == 0xc2 &&
		                static_cast<unsigned char>(text[i + 1]) < 0xa0);
		if (!control) {
			(void)std::fwrite(text.data() + i, 1, size, file);
			continue;
		}
		size = 1;
		if (byte >= '\t' && byte <= '\r')
			(void)std::fputs(named[byte - '\t'], file);
		else
			(void)std::fprintf(file, "\\x%02x", byte);
	}
}

void print_message(std::FILE *file, std::string_view before, std::string_view subject,
                   std::string_view after)
{
	(void)std::fwrite(before.data(), 1, before.size(), file);
	put_escaped(file, subject);
	(void)std::fwrite(after.data(), 1, after.size(), file);
	(void)std::fputc('\n', file);
}

bool flush_output(out_stream &out)
{
	drain(out);
	return !out.failed;
}

bool close_file_output(out_stream &out)
{
	auto *file = static_cast<std::FILE *>(out.target);
	bool ok = flush_output(out);
	errno = 0;
	if (std::fflush(file) != 0 || std::ferror(file))
		ok = false;
	if (std::fclose(file) != 0)
		ok = false;
	if (!ok && out.error == 0)
		out.error = errno;
	return ok;
}

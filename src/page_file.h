#ifndef PENDRIK_PAGE_FILE_H
#define PENDRIK_PAGE_FILE_H

#include <cstdio>

#include "output.h"

// Creates or truncates path and sets out to write to it. When it cannot, says
// "Cannot open file PATH" on messages and returns false.
bool open_page_file(out_stream &out, const char *path, std::FILE *messages);

// Sets out to write to standard output, in binary mode so that no CR is added.
void open_page_stdout(out_stream &out);

// Hands over the rest of the page and closes the file. When any write or the close failed,
// says "Cannot write file PATH" on messages and returns false; the file is left in place.
bool close_page_file(out_stream &out, const char *path, std::FILE *messages);

#endif

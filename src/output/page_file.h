#ifndef PENDRIK_PAGE_FILE_H
#define PENDRIK_PAGE_FILE_H

#include "diagnostics.h"
#include "output.h"
#include "platform/platform.h"

// The file a page is written to. Where path is a regular file or none, the page goes to a new
// file beside it, which replaces it only once the page is whole: a failed or killed run never
// leaves a cut page at path, and of two runs at once the one that ends last wins. Elsewhere
// (a device, a FIFO, a folder that takes no new file, a file of another user's or of several
// names, a name for a file the process has open, which is added to) it is written in place.
struct page_file {
	out_stream out;
	const char *path = nullptr;      // as the user gave it, for the messages
	const char *target = nullptr;    // path, or the file a symbolic link at path names
	char temporary[path_capacity]{}; // the new file beside target; "" when in place
	char link_target[path_capacity]{};
};

// Opens page for path, which a new page replaces. When it cannot (a missing folder, a file
// the user may not write), refuses with "Cannot open file PATH".
bool open_page_file(page_file &page, const char *path, diagnostics &messages);

// Sets page to write to standard output, in binary mode so that no CR is added.
void open_page_stdout(page_file &page);

// Hands over the rest of the page, closes the file and puts it in place of path. When any
// write, the close or the replacing failed, refuses with "Cannot write file PATH": the new
// file is removed and what stood at path is as it was (a page written in place holds what was
// written before the failure).
bool close_page_file(page_file &page, diagnostics &messages);

#endif

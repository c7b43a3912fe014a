#pragma once
// The text files a user hands the program (.cap structure descriptions, .trd
// transformer descriptions) are read whole, and only when they are what they claim to
// be: a regular file of sensible size. A named pipe would make the program wait for a
// writer forever, a device such as /dev/zero never ends, and a huge file would take
// the memory of the whole machine before a line of it is used.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "numerics/file_error.h"

namespace quor::numerics {

// The whole content of the regular file at path, at most maxBytes bytes. A folder,
// named pipe, device or socket is refused without waiting on it, and so is a longer
// file; the messages name the file: "Cannot read file NAME: reason", for a long file
// "Cannot read file NAME: more than N bytes, too long for WHAT".
std::string ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string_view what);

// The lines of a text. A line ends with LF, CR LF or a lone CR (files written on any
// system read alike); the last line needs no end, and a text that ends with a line end
// has no empty line after it. A UTF-8 byte-order mark at the very start belongs to no
// line.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace quor::numerics

#pragma once
// Every file the program writes (descriptions, palettes, tables, plots) is written to
// a temporary file in the same directory and renamed over the old one only when it
// is complete: a full disk or any other write error half-way leaves the previous file
// as it was, and the user sees an error that names the file.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/types.h>

// A file input/output error that ends the command that met it. Windows show its
// message in an error box; quor-cli prints it on stderr and exits with status 1.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The low-level write call, replaceable so that tests can make a write fail half-way.
using WriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);

// Writes content as the whole new file at path. Throws FileError
// ("Cannot write file NAME: reason") when anything fails; the temporary file is then
// removed and an existing file at path is untouched.
void WriteFileAtomically(const std::string& path, std::string_view content,
                         WriteCall writeCall = nullptr);

// Reads a whole file. Throws FileError ("Cannot read file NAME: reason").
std::string ReadWholeFile(const std::string& path);

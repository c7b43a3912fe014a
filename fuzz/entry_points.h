#pragma once
// The readers of everything a user can type or load, each as one entry point that
// takes arbitrary bytes. libFuzzer calls them in the fuzz build (one program per
// reader); the corpus replay test calls the same functions on every file kept under
// tests/corpus/<reader>/ with the ordinary compiler. An entry point returns normally
// on any input; a broken promise of the reader (a non-finite number read, a palette
// half filled, a ring count that does not add up) aborts with a message.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using FuzzEntryPoint = int (*)(const std::uint8_t* data, std::size_t size);

// The number reader of every edit field, and the texts the Report makes of numbers.
int FuzzNumberReader(const std::uint8_t* data, std::size_t size);
// A .cap structure description: the parser, ring generation and, for small
// structures, the whole capacitance calculation.
int FuzzStructureDescription(const std::uint8_t* data, std::size_t size);
// The transformer description (.trd) loader, and the input checks on what it loads.
int FuzzTrdReader(const std::uint8_t* data, std::size_t size);
// quor's reading of the colour table of quor.xpl.
int FuzzPaletteReader(const std::uint8_t* data, std::size_t size);
// tintor's loading of a .xpl file, and the drawing of the curves it loaded.
int FuzzXplReader(const std::uint8_t* data, std::size_t size);
// quor-cli's argument parser: one argument per line of the input.
int FuzzCliArguments(const std::uint8_t* data, std::size_t size);

struct FuzzTarget {
  std::string name;  // also the folder of its corpus
  FuzzEntryPoint entry;
};
const std::vector<FuzzTarget>& FuzzTargets();

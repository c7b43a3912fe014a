#pragma once
// The transformer description file (.trd): the texts of the twelve geometry fields of
// the main window, one per line ended by CR LF, exactly as typed. No header and no
// reformatting: "12.5", "1e-3" or even "0,1" travel as text, and only Calculate
// interprets them. The older ten-line form, without the two wire diameters, is read
// as well.
#include <string>
#include <string_view>
#include <vector>

#include "numerics/command.h"
#include "numerics/fields.h"

namespace quor::transformer {
using namespace quor::numerics;

// En1, Eh1, Er1, Es1, Eb1, En2, Eh2, Er2, Es2, Eb2, Ewd1, Ewd2: the order of the lines.
const std::vector<std::string>& TrdFieldNames();

// Lines are read as at most this many characters; the rest of a longer line is lost.
inline constexpr std::size_t kMaxTrdLine = 255;
// Only the first twelve lines are read, at most 3 KiB; a file larger than this is not
// a transformer description and is refused before it fills the memory.
inline constexpr std::size_t kMaxTrdFileBytes = 64 * 1024;

// The twelve lines of the file for these field texts (missing names take the main
// window's defaults). A line end inside a text would split it into two lines and
// shift every later field, so CR and LF within a text are written as blanks.
std::string TrdFileText(const FieldValues& fields);

// The field texts a file sets, read as the original did line by line: lines 1 to 10
// always (past the end of the file they read as empty texts); then blanks are skipped
// and, unless the line or the file ends there, lines 11 and 12 give the two wire
// diameters. A ten-line file, or one whose eleventh line is blank, leaves them out.
// Lines end with CR LF, LF or CR; a UTF-8 byte-order mark at the start is skipped.
// Nothing is validated.
FieldValues ParseTrdText(std::string_view text);

// Writes the file through a temporary file renamed over the old one; reads it whole,
// from a regular file of at most kMaxTrdFileBytes. Both throw FileError naming the file.
void SaveTrdFile(const std::string& path, const FieldValues& fields);
FieldValues LoadTrdFile(const std::string& path);

// Sets the texts a .trd file holds in fields (quor-cli's --trd FILE, before the
// NAME=VALUE changes). Throws FileError naming the file.
void LoadTrdFields(const std::string& path, FieldValues& fields);

// The main window's fields as Save takes them: the numbers as texts, saved as typed
// (a .trd keeps "0,1" as it stands; Calculate judges it after Load).
const std::vector<FieldDef>& TrdTextFieldDefs();

// Save of the main window: the twelve texts of the fields to the file named by the
// argument "FILE". A write error ends it with FileError naming the file.
Result SaveTrdCommand(const FieldValues& fields, CommandEnv& env);

}  // namespace quor::transformer

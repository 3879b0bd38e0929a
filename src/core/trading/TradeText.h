#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// Small text helpers of the trade files.

// Without leading and trailing ASCII white space (space, tab, CR, LF, VT, FF).
std::string_view TrimSpaces(std::string_view text);

// The lines of a text split at LF, as a line reader returns them: a CR left at
// the end of a line is kept, and a final LF does not start another line.
std::vector<std::string_view> SplitLines(std::string_view text);

// The text split at every `separator`; an empty text gives one empty field.
std::vector<std::string_view> SplitFields(std::string_view text, char separator);

// The field at `index`, or empty when the record has fewer fields.
std::string_view FieldAt(const std::vector<std::string_view>& fields, size_t index);

}  // namespace kestrel

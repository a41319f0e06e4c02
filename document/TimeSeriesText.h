// Reading a one-column text series and scaling it to 16-bit samples.  Works on
// a memory buffer so that series of millions of values load in a moment.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace TimeSeriesText {

// Appends the values of the text [pFirst, pLast): tokens are separated by
// blanks, tabs and line ends; a token starting with '#' is skipped; every other
// token gives its leading number in C notation ("3abc" 3, "abc" 0, "+2" 2,
// "1,5" 1), independent of the locale.  A number too large for a double counts as 0.
void ParseValues(const char* pFirst, const char* pLast, std::vector<double>& aValues);

// Reads the file; false when it cannot be opened or read.
bool ReadFile(const QString& strPath, std::vector<double>& aValues);

// Scales the largest magnitude to the top of the 16-bit range.  Without a
// negative value the series spans -32768 .. 32767 (0 becomes -32768); with one
// it keeps its sign (0 stays 0).  The top value 32768 is stored as 32767.  A
// series of zeros becomes silence (all 0).
std::vector<std::int16_t> ScaleToSamples(const std::vector<double>& aValues);

} // namespace TimeSeriesText

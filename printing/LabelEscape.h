#pragma once
#include <string>

// Instrument and operator texts end up inside printer commands; these keep
// them from ending a field early or starting a command of their own.

// EPL2 quoted data: a double quote and a backslash are preceded by a
// backslash.  A line break would end the command line, so it becomes a blank.
std::string EscapeEplData(const std::string& text);

// ZPL2 field data: true when the text has to go out as ^FH hex data
// (it holds a caret, a tilde or a line break).
bool ZplDataNeedsHex(const std::string& text);
// The text with '^', '~', the hex indicator '_' and control characters
// written as _XX, for use after ^FH.
std::string EscapeZplHexData(const std::string& text);

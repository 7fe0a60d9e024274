#pragma once
// Names of the temporary files a file is written through before it is renamed over the real one.
// Nothing here fails.
#include <string>
#include <string_view>

// FileName + ".tmp" + 16 hexadecimal digits drawn afresh for each call: unique across processes,
// including processes of other machines or containers that share the folder (a process id is not).
std::string TemporaryNameFor(std::string_view FileName);
// Whether Name (no folder part) is a temporary file of FileName (no folder part): ".tmp" and then
// letters and digits, the forms older versions used (".tmp" and a process id) included.
bool IsTemporaryNameOf(std::string_view Name, std::string_view FileName);

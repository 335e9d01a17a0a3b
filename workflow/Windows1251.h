// Windows-1251, the code page in which Excel in a Russian office saves «CSV (разделители —
// запятые)»: the import reads a table in it, and the export can write one.
#pragma once

#include <string>
#include <string_view>

namespace workflow {

// Bytes in Windows-1251 as UTF-8. The code page leaves 0x98 undefined: it reads as U+FFFD
// («�»), so that a line with it is still read and the stray byte shows where it stood.
std::string Windows1251ToUtf8(std::string_view bytes);

// UTF-8 as Windows-1251. A character the code page lacks is written as its nearest
// likeness where it has one («≤» as «<=», «×» as «x», «²» as «2», «−» as «-») and as «?»
// otherwise; so is a byte that is no part of well-formed UTF-8.
std::string Utf8ToWindows1251(std::string_view text);

} // namespace workflow
